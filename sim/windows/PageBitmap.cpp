#include "sim/windows/PageBitmap.hpp"

#include <stdint.h>
#include <stdio.h>

#include "display/PageLayout.hpp"

namespace norvane::winhost {
namespace {

constexpr COLORREF kTextColour = RGB(0x80, 0xFF, 0x80);

// Little-endian fields of the BMP headers, written byte by byte so that no
// structure packing is assumed.
void Put(uint8_t*& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    *out++ = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

PageBitmap::PageBitmap(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ =
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr) {
    bits_ = nullptr;
    return;
  }
  previousBitmap_ = SelectObject(dc_, bitmap_);
  // One character cell a row high, no anti-aliasing: each pixel is either
  // the background or the text colour.
  const int pitch = static_cast<int>(page::RowPitch(height));
  const int cell = pitch > 0 ? pitch : 1;
  font_ = CreateFontA(-cell, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN,
                      "Courier New");
  previousFont_ = SelectObject(dc_, font_);
  SetTextColor(dc_, kTextColour);
  SetBkMode(dc_, TRANSPARENT);
}

PageBitmap::~PageBitmap() {
  if (dc_ != nullptr) {
    SelectObject(dc_, previousFont_);
    SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
  }
  if (font_ != nullptr) DeleteObject(font_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

bool PageBitmap::Write(const char* path) const {
  if (!Ready()) return false;
  GdiFlush();
  const uint32_t pixelBytes =
      4u * static_cast<uint32_t>(width_) * static_cast<uint32_t>(height_);
  constexpr uint32_t kHeaderBytes = 14 + 40;
  uint8_t header[kHeaderBytes];
  uint8_t* out = header;
  Put(out, 'B' | ('M' << 8), 2);
  Put(out, kHeaderBytes + pixelBytes, 4);
  Put(out, 0, 4);
  Put(out, kHeaderBytes, 4);  // where the pixels start
  Put(out, 40, 4);            // BITMAPINFOHEADER
  Put(out, static_cast<uint32_t>(width_), 4);
  Put(out, static_cast<uint32_t>(-height_), 4);  // top-down
  Put(out, 1, 2);
  Put(out, 32, 2);
  Put(out, BI_RGB, 4);
  Put(out, pixelBytes, 4);
  Put(out, 2835, 4);  // 72 dots per inch
  Put(out, 2835, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  FILE* file = fopen(path, "wb");
  if (file == nullptr) return false;
  const bool written =
      fwrite(header, 1, sizeof header, file) == sizeof header &&
      fwrite(bits_, 1, pixelBytes, file) == pixelBytes;
  return fclose(file) == 0 && written;
}

}  // namespace norvane::winhost
