#include "sim/GdiPage.hpp"

#include <cstdio>
#include <memory>
#include <vector>

namespace norvane::sim {
namespace {

constexpr double kRowsPerPage = 26.0;  // the host's MFD row pitch is height/26

// Little-endian field writers for the BMP headers.
void Put16(std::vector<unsigned char>& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value & 0xFFu));
  out.push_back(static_cast<unsigned char>((value >> 8) & 0xFFu));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}

}  // namespace

GdiPage::GdiPage(int width, int height) : width_(width), height_(height) {
  if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF) return;
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows run top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const int cell = static_cast<int>(height / kRowsPerPage);
  font_ = CreateFontA(cell > 0 ? cell : 1, 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                      FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                      FIXED_PITCH | FF_MODERN, "Courier New");
  if (bitmap_ == nullptr || bits == nullptr || font_ == nullptr) return;

  previousBitmap_ = SelectObject(dc_, bitmap_);
  previousFont_ = SelectObject(dc_, font_);
  // A fresh DIB section is zero-filled: the page starts black.
  SetTextColor(dc_, kPageTextColour);
  SetBkMode(dc_, TRANSPARENT);
  bits_ = static_cast<const std::uint32_t*>(bits);
}

GdiPage::~GdiPage() {
  if (dc_ != nullptr) {
    if (previousFont_ != nullptr) SelectObject(dc_, previousFont_);
    if (previousBitmap_ != nullptr) SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
  }
  if (font_ != nullptr) DeleteObject(font_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

COLORREF GdiPage::Pixel(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
    return RGB(0, 0, 0);
  }
  GdiFlush();
  const std::uint32_t pixel =
      bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)];
  return RGB((pixel >> 16) & 0xFFu, (pixel >> 8) & 0xFFu, pixel & 0xFFu);
}

bool GdiPage::WriteBmp(const std::string& path) const {
  if (bits_ == nullptr) return false;
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  const std::uint32_t rowBytes =
      (static_cast<std::uint32_t>(width_) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes =
      rowBytes * static_cast<std::uint32_t>(height_);

  std::vector<unsigned char> file;
  file.reserve(kHeaderBytes + imageBytes);
  file.push_back('B');
  file.push_back('M');
  Put32(file, kHeaderBytes + imageBytes);
  Put32(file, 0);  // reserved
  Put32(file, kHeaderBytes);
  Put32(file, 40);  // BITMAPINFOHEADER
  Put32(file, static_cast<std::uint32_t>(width_));
  Put32(file, static_cast<std::uint32_t>(height_));  // positive: bottom-up
  Put16(file, 1);                                    // planes
  Put16(file, 24);                                   // bits per pixel
  Put32(file, 0);                                    // BI_RGB
  Put32(file, imageBytes);
  Put32(file, 2835);  // 72 dpi, in pixels per metre
  Put32(file, 2835);
  Put32(file, 0);  // colours used
  Put32(file, 0);  // important colours

  for (int y = height_ - 1; y >= 0; --y) {
    const std::size_t rowStart = file.size();
    for (int x = 0; x < width_; ++x) {
      const COLORREF colour = Pixel(x, y);
      file.push_back(GetBValue(colour));
      file.push_back(GetGValue(colour));
      file.push_back(GetRValue(colour));
    }
    file.resize(rowStart + rowBytes, 0);
  }

  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(
      std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) return false;
  return std::fwrite(file.data(), 1, file.size(), out.get()) == file.size() &&
         std::fflush(out.get()) == 0;
}

}  // namespace norvane::sim
