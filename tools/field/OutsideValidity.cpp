#include "tools/field/OutsideValidity.hpp"

#include <charconv>

namespace norvane::tools {
namespace {

// A year as the messages print it: shortest, with at least one decimal.
std::string YearText(double year) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, year).ptr;
  std::string result(text, end);
  if (result.find_first_of(".e") == std::string::npos) result += ".0";
  return result;
}

// A height as the messages print it, km: shortest.
std::string HeightText(double km) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, km).ptr);
}

// The bounds that the counts name, as words: "after 2010.0, above 850 km",
// each with its count if `counted`.
std::string Bounds(const Validity& v, unsigned long long before,
                   unsigned long long after, unsigned long long below,
                   unsigned long long above, bool counted) {
  const struct {
    unsigned long long count;
    std::string words;
  } bounds[] = {{before, "before " + YearText(v.from)},
                {after, "after " + YearText(v.until)},
                {below, "below " + HeightText(v.lowest) + " km"},
                {above, "above " + HeightText(v.highest) + " km"}};
  std::string text;
  for (const auto& bound : bounds) {
    if (bound.count == 0) continue;
    if (!text.empty()) text += ", ";
    if (counted) text += std::to_string(bound.count) + " ";
    text += bound.words;
  }
  return text;
}

}  // namespace

void OutsideCount::Add(const Beyond& beyond) {
  if (!beyond.Any()) return;
  ++points;
  before += beyond.before;
  after += beyond.after;
  below += beyond.below;
  above += beyond.above;
}

void OutsideCount::Add(const OutsideCount& other) {
  points += other.points;
  before += other.before;
  after += other.after;
  below += other.below;
  above += other.above;
}

std::string RefusalText(const Validity& v, const Beyond& b) {
  return "the point lies outside the model's validity: " +
         Bounds(v, b.before, b.after, b.below, b.above, false);
}

std::string SummaryText(const Validity& v, const OutsideCount& c) {
  return std::to_string(c.points) +
         (c.points == 1 ? " point lay" : " points lay") +
         " outside the model's validity (" + YearText(v.from) + " to " +
         YearText(v.until) + ", " + HeightText(v.lowest) + " to " +
         HeightText(v.highest) +
         " km): " + Bounds(v, c.before, c.after, c.below, c.above, true);
}

}  // namespace norvane::tools
