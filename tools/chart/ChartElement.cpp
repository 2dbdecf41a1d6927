#include "tools/chart/ChartElement.hpp"

namespace norvane::chart {
namespace {

bool IsAngle(Element element) {
  return element == Element::kD || element == Element::kI;
}

}  // namespace

std::optional<Element> ParseElement(std::string_view letter) {
  constexpr Element kAll[] = {Element::kD, Element::kI, Element::kH,
                              Element::kX, Element::kY, Element::kZ,
                              Element::kF};
  for (Element element : kAll) {
    if (letter == Letter(element)) return element;
  }
  return std::nullopt;
}

const char* Letter(Element element) {
  switch (element) {
    case Element::kD:
      return "D";
    case Element::kI:
      return "I";
    case Element::kH:
      return "H";
    case Element::kX:
      return "X";
    case Element::kY:
      return "Y";
    case Element::kZ:
      return "Z";
    case Element::kF:
      return "F";
  }
  return "?";
}

const char* Name(Element element) {
  switch (element) {
    case Element::kD:
      return "declination";
    case Element::kI:
      return "inclination";
    case Element::kH:
      return "horizontal intensity";
    case Element::kX:
      return "north component";
    case Element::kY:
      return "east component";
    case Element::kZ:
      return "vertical component";
    case Element::kF:
      return "total intensity";
  }
  return "?";
}

const char* Unit(const Quantity& quantity) {
  if (IsAngle(quantity.element)) return quantity.rates ? "arcmin/yr" : "deg";
  return quantity.rates ? "nT/yr" : "nT";
}

const char* UnitSymbol(const Quantity& quantity) {
  if (IsAngle(quantity.element)) return quantity.rates ? "'/yr" : "\u00b0";
  return quantity.rates ? "nT/yr" : "nT";
}

double DefaultInterval(const Quantity& quantity) {
  if (quantity.uncertainty) return 1.0;
  if (IsAngle(quantity.element)) return 2.0;
  return quantity.rates ? 10.0 : 1000.0;
}

bool IsCyclic(const Quantity& quantity) {
  return quantity.element == Element::kD && !quantity.rates &&
         !quantity.uncertainty;
}

}  // namespace norvane::chart
