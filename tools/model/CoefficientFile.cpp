#include "tools/model/CoefficientFile.hpp"

#include "tools/model/TextFields.hpp"
#include "tools/model/Utf8Text.hpp"

namespace norvane {
namespace {

constexpr std::size_t kMaxFields = 6;

// The whitespace-separated fields of a line; more than kMaxFields count as
// kMaxFields + 1.
struct Fields {
  std::string_view field[kMaxFields + 1];
  std::size_t count = 0;
};

Fields Split(std::string_view line) {
  Fields f;
  std::size_t i = 0;
  while (f.count <= kMaxFields) {
    while (i < line.size() && IsFieldBlank(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && !IsFieldBlank(line[i])) ++i;
    f.field[f.count++] = line.substr(start, i - start);
  }
  return f;
}

// The end line: nines only, wider than any degree and order, so that a row
// cut short after its degree (a lone 9) is never taken for it.
constexpr std::size_t kMinNines = 10;

bool IsNines(std::string_view line) {
  const Fields f = Split(line);
  return f.count == 1 && f.field[0].size() >= kMinNines &&
         f.field[0].find_first_not_of('9') == std::string_view::npos;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDate(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return false;
  for (const std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9})
    if (text[i] < '0' || text[i] > '9') return false;
  return true;
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view fileName)
      : text_(text), fileName_(fileName) {}

  Coefficients Parse() {
    // Editors on some systems start UTF-8 text with a byte-order mark.
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
      position_ = kByteOrderMark.size();
    std::string_view line;
    if (!NextLine(line)) {
      lineNumber_ = 1;
      Fail("the file is empty");
    }
    Header(line);
    // The next term expected, (1, 0) first.
    int n = 1;
    int m = 0;
    bool ended = false;  // by a line of nines
    while (NextLine(line)) {
      if (Split(line).count == 0) continue;
      if (IsNines(line)) {
        if (!ended) EndOfRows(n, m);
        ended = true;
        continue;
      }
      if (ended) Fail("text after the line of nines that ends the rows");
      Row(line, n, m);
      lastRow_ = lineNumber_;
      if (++m > n) {
        model_.degree = n;
        ++n;
        m = 0;
      }
    }
    if (!ended) {
      // Name the last row, where the file stopped, not its blank lines.
      if (lastRow_ > 0) lineNumber_ = lastRow_;
      EndOfRows(n, m);
      Fail("the file ends after degree " + std::to_string(model_.degree) +
           " without the line of nines that ends the rows: is it cut short?");
    }
    return std::move(model_);
  }

 private:
  [[noreturn]] void Fail(const std::string& fault) const {
    throw CoefficientFileError(std::string(fileName_) + ":" +
                               std::to_string(lineNumber_) + ": " + fault);
  }

  // At the end of the rows, with (n, m) the term expected next.
  void EndOfRows(int n, int m) const {
    if (model_.degree == 0 && m == 0) Fail("no coefficient rows");
    if (m != 0) {
      Fail("degree " + std::to_string(n) + " ends early: row " + Term(n, m) +
           " is missing");
    }
  }

  static std::string Term(int n, int m) {
    return "(" + std::to_string(n) + ", " + std::to_string(m) + ")";
  }

  bool NextLine(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', position_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(position_, stop - position_);
    position_ = stop + 1;
    ++lineNumber_;
    return true;
  }

  void Header(std::string_view line) {
    const Fields f = Split(line);
    if (f.count != 3) {
      Fail(
          "the header must hold the epoch, the model's name and its "
          "release date (MM/DD/YYYY)");
    }
    if (ParseDouble(f.field[0], model_.epoch) != nullptr ||
        model_.epoch < 0.0 || model_.epoch > 9999.0)
      Fail("the epoch " + Quote(f.field[0]) + " is not a year from 0 to 9999");
    if (!IsDate(f.field[2]))
      Fail("the release date " + Quote(f.field[2]) + " is not MM/DD/YYYY");
    if (!IsUtf8(f.field[1]))
      Fail("the model's name " + Quote(f.field[1]) + " is not valid UTF-8");
    model_.name = std::string(f.field[1]);
    model_.releaseDate = std::string(f.field[2]);
  }

  // Reads the row of term (n, m), the one expected next.
  void Row(std::string_view line, int n, int m) {
    const Fields f = Split(line);
    if (f.count != 6) {
      Fail("expected a row 'n m g h gdot hdot' of 6 fields, found " +
           (f.count > kMaxFields ? std::string("more")
                                 : std::to_string(f.count)));
    }
    int rowN, rowM;
    if (!ParseInt(f.field[0], rowN) || !ParseInt(f.field[1], rowM))
      Fail("the degree and order " + Quote(f.field[0]) + " " +
           Quote(f.field[1]) + " are not whole numbers");
    if (rowN < 1 || rowM < 0 || rowM > rowN)
      Fail("there is no term " + Term(rowN, rowM));
    if (rowN > kMaxFileDegree) {
      Fail("degree " + std::to_string(rowN) + " is over the supported " +
           std::to_string(kMaxFileDegree));
    }
    if (rowN != n || rowM != m) {
      const bool earlier = rowN < n || (rowN == n && rowM < m);
      Fail(earlier ? "row " + Term(rowN, rowM) + " repeats an earlier row"
                   : "row " + Term(n, m) + " is missing (found " +
                         Term(rowN, rowM) + ")");
    }
    double values[4];
    static const char* const kNames[] = {"g", "h", "gdot", "hdot"};
    for (int i = 0; i < 4; ++i) {
      if (const char* problem = ParseDouble(f.field[2 + i], values[i]))
        Fail(std::string(kNames[i]) + " " + Quote(f.field[2 + i]) + " " +
             problem);
    }
    if (m == 0 && (values[1] != 0.0 || values[3] != 0.0))
      Fail("row " + Term(n, m) + " has an h term, but order 0 has none");
    model_.rows.resize(static_cast<std::size_t>(CoefficientIndex(n, m)) + 1);
    model_.rows.back() = {values[0], values[1], values[2], values[3]};
  }

  std::string_view text_;
  std::string_view fileName_;
  std::size_t position_ = 0;
  unsigned long lineNumber_ = 0;
  unsigned long lastRow_ = 0;  // the line of the last row read
  Coefficients model_;
};

}  // namespace

Coefficients ParseCoefficients(std::string_view text,
                               std::string_view fileName) {
  return Parser(text, fileName).Parse();
}

Coefficients ReadCoefficientFile(const std::string& path) {
  return ParseCoefficients(ReadModelText(path), path);
}

}  // namespace norvane
