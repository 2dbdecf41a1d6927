// norvane-sim run as a program: exit status, standard output, images.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

struct Outcome {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

std::string TempFile(const std::string& name) {
  return ::testing::TempDir() + "norvane-sim-" + std::to_string(getpid()) +
         "-" + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Outcome RunSim(const std::string& args) {
  const std::string errFile = TempFile("stderr");
  const std::string command =
      std::string(NORVANE_SIM_PATH) + " " + args + " 2>" + errFile;
  Outcome outcome;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    outcome.out.append(buffer, got);
  }
  const int raw = pclose(pipe);
  if (raw != -1 && WIFEXITED(raw)) outcome.status = WEXITSTATUS(raw);
  outcome.err = ReadFile(errFile);
  std::remove(errFile.c_str());
  return outcome;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SimRunTest, PrintsThePageAndWritesItsImages) {
  const std::string png = TempFile("page.png");
  const std::string svg = TempFile("page.svg");
  const Outcome run =
      RunSim("--size 300x200 --lat 0.5 --png " + png + " --svg " + svg);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 13u) << run.out;
  EXPECT_EQ(lines[0], "Norvane");
  EXPECT_EQ(lines[1], "lat:   500.000m\u00B0");
  EXPECT_EQ(lines[11], "THead:    90.000 \u00B0");

  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), 300);
  EXPECT_EQ(cairo_image_surface_get_height(image), 200);
  cairo_surface_destroy(image);
  EXPECT_NE(ReadFile(svg).find("<svg"), std::string::npos);
  std::remove(png.c_str());
  std::remove(svg.c_str());
}

bool IsHexColour(const std::string& text) {
  return text.size() == 7 && text[0] == '#' &&
         text.find_first_not_of("0123456789ABCDEF", 1) == std::string::npos;
}

// Each dump line, checked against its form and put back together compactly:
// "X,Y TEXT" for text, "X0,Y0 X1,Y1 #RRGGBB" for lines.
TEST(SimRunTest, DumpListsEveryDrawingCall) {
  const Outcome run = RunSim("--dump --heading 0");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> texts;
  std::vector<std::string> needles;
  for (const std::string& entry : Lines(run.out)) {
    std::istringstream in(entry);
    std::string kind;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    in >> kind >> x0 >> y0;
    if (kind == "text" && in.get() == ' ') {
      std::string text;
      std::getline(in, text);
      texts.push_back(std::to_string(x0) + "," + std::to_string(y0) + " " +
                      text);
      continue;
    }
    std::string colour;
    if (kind == "line" && in >> x1 >> y1 >> colour && in.peek() == EOF &&
        IsHexColour(colour)) {
      needles.push_back(std::to_string(x0) + "," + std::to_string(y0) + " " +
                        std::to_string(x1) + "," + std::to_string(y1) + " " +
                        colour);
      continue;
    }
    ADD_FAILURE() << "unparsed: " << entry;
  }
  ASSERT_EQ(texts.size(), 13u);
  EXPECT_EQ(texts[0], "5,0 Norvane");
  EXPECT_EQ(texts[12].substr(0, 13), "5,118 MHead: ");
  ASSERT_EQ(needles.size(), 2u);
  EXPECT_EQ(needles[0], "128,128 128,25 #FFFFFF");
  EXPECT_EQ(needles[1].substr(0, 8), "128,128 ");
  EXPECT_EQ(needles[1].substr(needles[1].size() - 7), "#FF0000");
}

TEST(SimRunTest, FailuresSayWhyAndEndNonZero) {
  const struct {
    std::string args;
    int status;
    const char* says;
  } cases[] = {
      {"--bogus", 2, "Usage"},
      {"--module " + std::string(NORVANE_FAULTY_MODULE), 1,
       "still registered after unload"},
      {"--png /nonexistent/page.png", 1, "cannot write /nonexistent/page.png"},
      {"--svg /nonexistent/page.svg", 1, "cannot write /nonexistent/page.svg"},
      {"--size 32768x1 --png page.png", 1, "at most 32767 pixels"},
  };
  for (const auto& c : cases) {
    const Outcome run = RunSim(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.says), std::string::npos)
        << c.args << ": " << run.err;
  }
}

}  // namespace
