#include "tools/model/ShcFile.hpp"

#include "tools/model/TextFields.hpp"

namespace norvane {
namespace {

// The parameter line's fields.
constexpr std::size_t kParameterFields = 7;

// Every whitespace-separated field of a line.
void Split(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsFieldBlank(line[i])) ++i;
    if (i == line.size()) return;
    const std::size_t start = i;
    while (i < line.size() && !IsFieldBlank(line[i])) ++i;
    fields.push_back(line.substr(start, i - start));
  }
}

bool IsComment(const std::vector<std::string_view>& fields) {
  return !fields.empty() && fields[0][0] == '#';
}

std::string Term(int n, int m) {
  return "(" + std::to_string(n) + ", " + std::to_string(m) + ")";
}

std::string ModelName(std::string_view fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  const std::size_t dot = fileName.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0)
    fileName = fileName.substr(0, dot);
  return std::string(fileName);
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view fileName)
      : text_(text), fileName_(fileName) {}

  ShcModel Parse() {
    if (!NextDataLine()) {
      if (lineNumber_ == 0) lineNumber_ = 1;
      Fail("no parameter line");
    }
    Parameters();
    if (!NextDataLine()) Fail("the epoch line is missing");
    Epochs();
    // gGiven_/hGiven_: the line that gave each term, 0 for none yet.
    const std::size_t terms =
        static_cast<std::size_t>(CoefficientIndex(degree_, degree_)) + 1;
    gGiven_.assign(terms, 0);
    hGiven_.assign(terms, 0);
    while (NextDataLine()) Row();
    Complete();
    return std::move(model_);
  }

 private:
  [[noreturn]] void Fail(const std::string& fault) const {
    throw CoefficientFileError(std::string(fileName_) + ":" +
                               std::to_string(lineNumber_) + ": " + fault);
  }

  // Reads the next line that is neither blank nor a comment into fields_.
  bool NextDataLine() {
    while (position_ < text_.size()) {
      const std::size_t end = text_.find('\n', position_);
      const std::size_t stop =
          end == std::string_view::npos ? text_.size() : end;
      Split(text_.substr(position_, stop - position_), fields_);
      position_ = stop + 1;
      ++lineNumber_;
      if (!fields_.empty() && !IsComment(fields_)) return true;
    }
    return false;
  }

  int WholeNumber(std::size_t field, const char* what, int lowest,
                  int highest) const {
    int value;
    if (!ParseInt(fields_[field], value) || value < lowest || value > highest) {
      Fail(std::string(what) + " " + Quote(fields_[field]) +
           " is not a whole number from " + std::to_string(lowest) + " to " +
           std::to_string(highest));
    }
    return value;
  }

  double Year(std::size_t field, const char* what) const {
    double value;
    if (ParseDouble(fields_[field], value) != nullptr || value < 0.0 ||
        value > 9999.0)
      Fail(std::string(what) + " " + Quote(fields_[field]) +
           " is not a year from 0 to 9999");
    return value;
  }

  void Parameters() {
    if (fields_.size() != kParameterFields) {
      Fail(
          "the parameter line must hold the lowest and the highest degree, "
          "the number of epochs, the spline order, the step, and the first "
          "and the last epoch");
    }
    lowest_ = WholeNumber(0, "the lowest degree", 1, kMaxFileDegree);
    degree_ = WholeNumber(1, "the highest degree", lowest_, kMaxFileDegree);
    count_ = WholeNumber(2, "the number of epochs", 1, kMaxShcEpochs);
    const int order = WholeNumber(3, "the spline order", 1, 1 << 30);
    if (order != 2 && !(order == 1 && count_ == 1)) {
      Fail("spline order " + std::to_string(order) +
           " is not supported: only order 2 (piecewise linear), or a single "
           "epoch");
    }
    WholeNumber(4, "the step", 1, 1 << 30);
    first_ = Year(5, "the first epoch");
    last_ = Year(6, "the last epoch");
    const std::size_t values =
        (static_cast<std::size_t>(CoefficientIndex(degree_, degree_)) + 1) *
        static_cast<std::size_t>(count_);
    if (values > kMaxShcValues) {
      Fail(std::to_string(count_) + " epochs of degree " +
           std::to_string(degree_) + " are more than the " +
           std::to_string(kMaxShcValues) + " coefficient values supported");
    }
  }

  void Epochs() {
    if (fields_.size() != static_cast<std::size_t>(count_)) {
      Fail("expected the epoch line's " + std::to_string(count_) +
           " epochs, found " + std::to_string(fields_.size()) + " fields");
    }
    Coefficients epoch;
    epoch.name = ModelName(fileName_);
    epoch.degree = degree_;
    epoch.rows.assign(
        static_cast<std::size_t>(CoefficientIndex(degree_, degree_)) + 1,
        CoefficientRow{});
    model_.name = epoch.name;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      epoch.epoch = Year(i, "the epoch");
      if (i > 0 && !(epoch.epoch > model_.epochs.back().epoch))
        Fail("the epoch " + Quote(fields_[i]) +
             " does not follow the one "
             "before it");
      model_.epochs.push_back(epoch);
    }
    if (model_.epochs.front().epoch != first_ ||
        model_.epochs.back().epoch != last_) {
      Fail("the epochs run from " + Quote(fields_.front()) + " to " +
           Quote(fields_.back()) +
           ", not from the parameter line's first to its last epoch");
    }
  }

  // Reads one coefficient row into the epochs.
  void Row() {
    if (fields_.size() != static_cast<std::size_t>(count_) + 2) {
      Fail("expected a row 'n m' and " + std::to_string(count_) +
           " values, found " + std::to_string(fields_.size()) + " fields");
    }
    int n, m;
    if (!ParseInt(fields_[0], n) || !ParseInt(fields_[1], m))
      Fail("the degree and order " + Quote(fields_[0]) + " " +
           Quote(fields_[1]) + " are not whole numbers");
    if (n < lowest_ || n > degree_ || m < -n || m > n) {
      Fail("there is no term " + Term(n, m) + " in degrees " +
           std::to_string(lowest_) + " to " + std::to_string(degree_));
    }
    const std::size_t index =
        static_cast<std::size_t>(CoefficientIndex(n, m < 0 ? -m : m));
    // A positive m gives g first and then h; a negative m gives h.
    const bool isH = m < 0 || (m > 0 && gGiven_[index] != 0);
    unsigned long& given = isH ? hGiven_[index] : gGiven_[index];
    if (given != 0) {
      Fail("row " + Term(n, m) + " gives " + (isH ? "h" : "g") +
           Term(n, m < 0 ? -m : m) + " again, after line " +
           std::to_string(given));
    }
    given = lineNumber_;
    for (std::size_t e = 0; e < model_.epochs.size(); ++e) {
      double value;
      if (const char* problem = ParseDouble(fields_[e + 2], value))
        Fail("the value " + Quote(fields_[e + 2]) + " " + problem);
      CoefficientRow& row = model_.epochs[e].rows[index];
      (isH ? row.h : row.g) = value;
    }
  }

  // Every term of the degrees read has its g and, for m > 0, its h.
  void Complete() const {
    for (int n = lowest_; n <= degree_; ++n) {
      for (int m = 0; m <= n; ++m) {
        const std::size_t index =
            static_cast<std::size_t>(CoefficientIndex(n, m));
        if (gGiven_[index] == 0) Fail("no row gives g" + Term(n, m));
        if (m > 0 && hGiven_[index] == 0) Fail("no row gives h" + Term(n, m));
      }
    }
  }

  std::string_view text_;
  std::string_view fileName_;
  std::size_t position_ = 0;
  unsigned long lineNumber_ = 0;
  std::vector<std::string_view> fields_;
  int lowest_ = 0;
  int degree_ = 0;
  int count_ = 0;
  double first_ = 0.0;
  double last_ = 0.0;
  std::vector<unsigned long> gGiven_;
  std::vector<unsigned long> hGiven_;
  ShcModel model_;
};

}  // namespace

bool IsShcText(std::string_view text) {
  std::vector<std::string_view> fields;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    Split(text.substr(0, end), fields);
    if (!fields.empty())
      return IsComment(fields) || fields.size() == kParameterFields;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return false;
}

ShcModel ParseShc(std::string_view text, std::string_view fileName) {
  return Parser(text, fileName).Parse();
}

}  // namespace norvane
