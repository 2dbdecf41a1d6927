#pragma once
/**
 * \file Cp1252.hpp
 * \brief Showing the module's single-byte text (Windows-1252) as UTF-8.
 */

#include <string>
#include <string_view>

namespace norvane::sim {

/**
 * Converts Windows-1252 text to UTF-8 for showing on one line.
 *
 * Printable ASCII stays as it is, 0x80-0x9F map by the Windows-1252 table
 * (0x80 is €, 0x99 is ™) and 0xA0-0xFF to U+00A0-U+00FF (0xB0 is °, 0xB5 is
 * µ).  Bytes that show nothing, the five undefined ones (0x81, 0x8D, 0x8F,
 * 0x90, 0x9D) and the control characters 0x00-0x1F and 0x7F, become U+FFFD,
 * so the result never breaks a line.
 *
 * @param[in] text single-byte text, any bytes.
 * @return the same text in UTF-8.
 */
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace norvane::sim
