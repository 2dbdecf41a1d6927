#include "tools/chart/IndexedPng.hpp"

#include <libimagequant.h>
#include <png.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace norvane::chart {
namespace {

void WriteBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* file = static_cast<tools::OutputFile*>(png_get_io_ptr(png));
  file->Write({reinterpret_cast<const char*>(data), length});
}

void Flush(png_structp) {}

// libpng reports errors by longjmp; they are recorded and then end the
// write through the jump back into WritePalettePng.
void Error(png_structp png, png_const_charp message) {
  static_cast<tools::OutputFile*>(png_get_io_ptr(png))->Fail(message);
  png_longjmp(png, 1);
}

void Warning(png_structp, png_const_charp) {}

// Writes the rows of palette indices.  Nothing here may need destruction:
// libpng's errors leave by longjmp.
void WriteRows(tools::OutputFile& file, int width, int height, png_bytep* rows,
               const png_color* colours, int count) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &file, Error, Warning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (png == nullptr || info == nullptr) {
    file.Fail("out of memory");
  } else if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &file, WriteBytes, Flush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_PLTE(png, info, colours, count);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
  }
  png_destroy_write_struct(&png, &info);
}

void WritePalettePng(tools::OutputFile& file, int width, int height,
                     const liq_palette* palette,
                     std::vector<unsigned char>& pixels) {
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[y] = &pixels[static_cast<std::size_t>(y) * width];
  }
  std::vector<png_color> colours(palette->count);
  for (unsigned k = 0; k < palette->count; ++k) {
    colours[k] = {palette->entries[k].r, palette->entries[k].g,
                  palette->entries[k].b};
  }
  WriteRows(file, width, height, rows.data(), colours.data(),
            static_cast<int>(colours.size()));
}

struct Release {
  void operator()(liq_attr* p) const { liq_attr_destroy(p); }
  void operator()(liq_image* p) const { liq_image_destroy(p); }
  void operator()(liq_result* p) const { liq_result_destroy(p); }
};

}  // namespace

bool WriteIndexedPng(cairo_surface_t* image, tools::OutputFile& file) {
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  // Cairo's RGB24 pixels are native-endian 32-bit words 0x00RRGGBB.
  std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      unsigned char* out = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
      out[0] = static_cast<unsigned char>(row[x] >> 16);
      out[1] = static_cast<unsigned char>(row[x] >> 8);
      out[2] = static_cast<unsigned char>(row[x]);
      out[3] = 255;
    }
  }
  const std::unique_ptr<liq_attr, Release> attributes(liq_attr_create());
  const std::unique_ptr<liq_image, Release> quantised(
      attributes ? liq_image_create_rgba(attributes.get(), rgba.data(), width,
                                         height, 0)
                 : nullptr);
  liq_result* result = nullptr;
  if (!quantised || liq_image_quantize(quantised.get(), attributes.get(),
                                       &result) != LIQ_OK) {
    file.Fail("cannot reduce the image's colours");
    return false;
  }
  const std::unique_ptr<liq_result, Release> owned(result);
  liq_set_dithering_level(result, 1.0f);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height);
  if (liq_write_remapped_image(result, quantised.get(), pixels.data(),
                               pixels.size()) != LIQ_OK) {
    file.Fail("cannot reduce the image's colours");
    return false;
  }
  WritePalettePng(file, width, height, liq_get_palette(result), pixels);
  return file.Ok();
}

}  // namespace norvane::chart
