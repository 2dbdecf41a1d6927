#pragma once
/**
 * \file TextFields.hpp
 * \brief The fields of the model files' text lines, and their numbers, read
 *   strictly, as the coefficient and SHC readers share them.
 */

#include <string>
#include <string_view>

namespace norvane {

/// @return whether c separates fields: a blank, a tab, or a carriage
///   return, vertical tab or form feed.
inline bool IsFieldBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

/**
 * @param[in] text a field.
 * @return its text for a message, quoted: at most 40 bytes, made
 *   printable as Printable does.
 */
std::string Quote(std::string_view text);

/**
 * Reads a whole field as a finite decimal number, as std::from_chars reads
 * it, with an optional leading '+' before no other sign.
 *
 * @param[in] text the field.
 * @param[out] value the number; unspecified if the field is not one.
 * @return nullptr for a finite number, else why not: "is out of range (too
 *   large or too small for a double)", "is not a number" or "is not
 *   finite".
 */
const char* ParseDouble(std::string_view text, double& value);

/**
 * Reads a whole field as a decimal int, with an optional leading '+'
 * before no other sign.
 *
 * @param[in] text the field.
 * @param[out] value the number; unspecified if the field is not one.
 * @return whether the field is a whole number that an int holds.
 */
bool ParseInt(std::string_view text, int& value);

/**
 * Reads a model file's bytes.
 *
 * @param[in] path the file.
 * @return its bytes.
 * @exception CoefficientFileError ("PATH: fault") if the file cannot be
 *   read or is larger than kMaxFileSize.
 */
std::string ReadModelText(const std::string& path);

}  // namespace norvane
