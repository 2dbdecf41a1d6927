// check-gdi-page: holds a page that the Windows build painted through GDI
// (a BMP written by the Windows stand-in host) to the page the native build
// recorded for the same vessel and surface (norvane-sim --dump).  The two
// builds share the module's sources but not its compiler, C runtime or
// drawing library, so the recording is an independent account of where
// every line and text belongs.
//
// usage: check-gdi-page DUMP BMP [PNG]
//   DUMP  the recorded page: "text X Y TEXT" and "line X0 Y0 X1 Y1 #RRGGBB"
//   BMP   the painted page: black, text in the host's text colour #80FF80
//   PNG   also write the painted page as a PNG image
// Exits 0 when the pages agree, 1 when they do not, 2 for bad input.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

using Colour = std::uint32_t;  // 0xRRGGBB
constexpr Colour kBackground = 0x000000;
constexpr Colour kText = 0x80FF80;

struct Text {
  int x, y;            // top-left corner, pixels
  std::size_t length;  // characters (UTF-8 bytes of one character count once)
};

struct Line {
  int x0, y0, x1, y1;  // pixels; GDI leaves out the end pixel
  Colour colour;
};

struct Page {
  std::vector<Text> texts;
  std::vector<Line> lines;
};

std::size_t Characters(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char byte : utf8) count += (byte & 0xC0) != 0x80;
  return count;
}

bool ReadDump(const char* path, Page& page) {
  std::ifstream in(path);
  std::string row;
  while (std::getline(in, row)) {
    std::istringstream fields(row);
    std::string kind;
    fields >> kind;
    if (kind == "text") {
      Text text{};
      fields >> text.x >> text.y;
      std::string rest;
      std::getline(fields, rest);
      text.length = rest.empty() ? 0 : Characters(rest.substr(1));
      page.texts.push_back(text);
    } else if (kind == "line") {
      Line line{};
      std::string colour;
      fields >> line.x0 >> line.y0 >> line.x1 >> line.y1 >> colour;
      if (colour.size() != 7 || colour[0] != '#') return false;
      line.colour =
          static_cast<Colour>(std::stoul(colour.substr(1), nullptr, 16));
      page.lines.push_back(line);
    } else {
      return false;
    }
    if (!fields && !fields.eof()) return false;
  }
  return in.eof() && !page.texts.empty();
}

// Distance in pixels from (x, y) to the segment from (x0, y0) to (x1, y1).
double Distance(const Line& line, double x, double y) {
  const double dx = line.x1 - line.x0;
  const double dy = line.y1 - line.y0;
  const double length2 = dx * dx + dy * dy;
  double t =
      length2 == 0 ? 0 : ((x - line.x0) * dx + (y - line.y0) * dy) / length2;
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  return std::hypot(x - (line.x0 + t * dx), y - (line.y0 + t * dy));
}

class Image {
 public:
  Image(unsigned char* pixels, int width, int height)
      : pixels_(pixels, stbi_image_free), width_(width), height_(height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  Colour At(int x, int y) const {
    const unsigned char* p = pixels_.get() + 3 * (std::size_t(y) * width_ + x);
    return Colour(p[0]) << 16 | Colour(p[1]) << 8 | p[2];
  }
  const unsigned char* Data() const { return pixels_.get(); }

 private:
  std::unique_ptr<unsigned char, void (*)(void*)> pixels_;
  int width_, height_;
};

// Whether a pixel of one of the needles' colours lies within one pixel of
// (x, y): where the needles cross, the later one covers the earlier.
bool NeedleNear(const Image& image, const Page& page, int x, int y) {
  for (int v = y - 1; v <= y + 1; ++v) {
    for (int u = x - 1; u <= x + 1; ++u) {
      if (u < 0 || v < 0 || u >= image.Width() || v >= image.Height()) continue;
      for (const Line& line : page.lines) {
        if (image.At(u, v) == line.colour) return true;
      }
    }
  }
  return false;
}

int Check(const Page& page, const Image& image) {
  int faults = 0;
  auto fault = [&faults](const std::string& what) {
    if (++faults <= 20) std::cerr << "check-gdi-page: " << what << "\n";
  };
  // The text cell: the host's font is a row of the page high.
  const int cell = image.Height() / 26 > 0 ? image.Height() / 26 : 1;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Colour colour = image.At(x, y);
      if (colour == kBackground) continue;
      bool placed = false;
      if (colour == kText) {
        for (const Text& text : page.texts) {
          placed |= x >= text.x - 1 && x <= text.x + int(text.length) * cell &&
                    y >= text.y - 1 && y <= text.y + cell + 1;
        }
      }
      for (const Line& line : page.lines) {
        placed |= colour == line.colour && Distance(line, x, y) <= 1.5;
      }
      if (!placed) {
        std::ostringstream what;
        what << "pixel (" << x << ", " << y << ") of colour #" << std::hex
             << colour << " lies on no recorded line or text";
        fault(what.str());
      }
    }
  }
  for (const Line& line : page.lines) {
    const int steps =
        std::max(std::abs(line.x1 - line.x0), std::abs(line.y1 - line.y0));
    for (int k = 0; k < steps; ++k) {
      const double t = double(k) / steps;
      const int x = int(std::lround(line.x0 + t * (line.x1 - line.x0)));
      const int y = int(std::lround(line.y0 + t * (line.y1 - line.y0)));
      if (!NeedleNear(image, page, x, y)) {
        fault("the line to (" + std::to_string(line.x1) + ", " +
              std::to_string(line.y1) + ") is not drawn near (" +
              std::to_string(x) + ", " + std::to_string(y) + ")");
        break;
      }
    }
  }
  for (const Text& text : page.texts) {
    bool inked = false;
    for (int y = std::max(text.y, 0);
         y < std::min(text.y + cell + 1, image.Height()); ++y) {
      for (int x = std::max(text.x, 0);
           x < std::min(text.x + int(text.length) * cell, image.Width()); ++x) {
        inked |= image.At(x, y) == kText;
      }
    }
    if (!inked)
      fault("no text at (" + std::to_string(text.x) + ", " +
            std::to_string(text.y) + ")");
  }
  return faults == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: check-gdi-page DUMP BMP [PNG]\n";
    return 2;
  }
  Page page;
  if (!ReadDump(argv[1], page)) {
    std::cerr << "check-gdi-page: " << argv[1] << " is not a recorded page\n";
    return 2;
  }
  int width = 0, height = 0, channels = 0;
  unsigned char* pixels = stbi_load(argv[2], &width, &height, &channels, 3);
  if (pixels == nullptr) {
    std::cerr << "check-gdi-page: " << argv[2] << ": " << stbi_failure_reason()
              << "\n";
    return 2;
  }
  const Image image(pixels, width, height);
  if (argc == 4 &&
      !stbi_write_png(argv[3], width, height, 3, image.Data(), 3 * width)) {
    std::cerr << "check-gdi-page: cannot write " << argv[3] << "\n";
    return 2;
  }
  const int status = Check(page, image);
  if (status == 0) {
    std::cout << "check-gdi-page: " << page.lines.size() << " lines and "
              << page.texts.size() << " texts where the recording puts them\n";
  }
  return status;
}
