#pragma once
/**
 * \file Utf8Text.hpp
 * \brief Text from files, such as a model's name, checked as UTF-8 and made
 *   safe to print.
 */

#include <cstddef>
#include <string>
#include <string_view>

namespace norvane {

/**
 * The length of the well-formed UTF-8 sequence that starts a text: no
 * overlong form, surrogate or code point over U+10FFFF.
 *
 * @param[in] text any bytes, not empty.
 * @return 1 to 4, or 0 if the text does not start with such a sequence.
 */
std::size_t Utf8SequenceLength(std::string_view text);

/**
 * @param[in] text any bytes.
 * @return whether the text is well-formed UTF-8 throughout.
 */
bool IsUtf8(std::string_view text);

/**
 * The text as it may go to a terminal or into a message: control
 * characters (C0, DEL, C1) and bytes that are not well-formed UTF-8 are
 * written as \\xHH, each byte of them; everything else is kept.
 *
 * @param[in] text any bytes.
 * @return the printable text.
 */
std::string Printable(std::string_view text);

}  // namespace norvane
