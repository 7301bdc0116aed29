// The `lamina` tool as a user runs it: chains that succeed and fail, JSON, batches with a bad file,
// and the gallery (every picture it names exists and decodes; a real browser renders it where one
// is installed).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "lamina/formats.h"
#include "registry.h"
#include "support/files.h"
#include "support/pictures.h"

namespace {

namespace fs = std::filesystem;
using lamina_test::TempDir;

struct Result {
  int status;
  std::string out, err;
};

// Runs the tool with `arguments` (shell words, so a colour is quoted: '#ff0000') in `dir`.
Result Tool(const fs::path& dir, const std::string& arguments) {
  const std::string command =
      "cd '" + dir.string() + "' && '" LAMINA_TOOL "' " + arguments + " > tool.out 2> tool.err";
  const int raw = std::system(command.c_str());
  Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ""};
  auto text = [](const fs::path& p) {
    const lamina_test::Bytes b = lamina_test::ReadAll(p);
    return std::string(b.begin(), b.end());
  };
  r.out = text(dir / "tool.out");
  r.err = text(dir / "tool.err");
  fs::remove(dir / "tool.out");
  fs::remove(dir / "tool.err");
  return r;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Files the tool leaves behind under a temporary name.
bool LeftOvers(const fs::path& dir) {
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (Contains(e.path().filename().string(), ".lamina-")) return true;
  return false;
}

TEST(ToolRun, AChainGivesWhatTheMembersGive) {
  TempDir dir;
  CLamina img = lamina_test::Random(24, 33, 21, 4);
  ASSERT_EQ(img.fnIMG_SaveBMP(CString((dir / "in.bmp").string())), 0);
  const Result r = Tool(dir / "", "run in.bmp out.png Flip 1 ColorToGray 0 EqualizeHistogram 0 0");
  ASSERT_EQ(r.status, 0) << r.err;
  img.fnIMG_Flip(1);
  img.fnIMG_ColorToGray(0);
  img.fnIMG_EqualizeHistogram(0, 0);
  CLamina out;
  ASSERT_EQ(lamina::formats::LoadPNG(out, CString((dir / "out.png").string())), 0);
  EXPECT_EQ(lamina_test::PixelsOf(out), lamina_test::PixelsOf(img));
  // Names in any case; a measurement printed; no image written for "-".
  const Result m = Tool(dir / "", "run in.bmp - fliP 0 findthreshold 0");
  ASSERT_EQ(m.status, 0) << m.err;
  EXPECT_TRUE(std::regex_search(m.out, std::regex("FindThreshold 0\n +threshold = [0-9]+\n")))
      << m.out;
}

TEST(ToolRun, AFailingStepIsNamedInWordsAndNothingIsWritten) {
  TempDir dir;
  CLamina img = lamina_test::Random(8, 16, 16, 4);
  ASSERT_EQ(img.fnIMG_SaveBMP(CString((dir / "in.bmp").string())), 0);
  const Result r = Tool(dir / "",
                        "run in.bmp out.bmp SaveBMP early.bmp Split 0 ch-{}.png Flip 1 "
                        "EqualizeHistogram 12 0 Flip 0");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "step 4 (EqualizeHistogram 12 0) failed: EqualizeHistogram gave 2"))
      << r.err;
  EXPECT_FALSE(fs::exists(dir / "out.bmp"));
  EXPECT_FALSE(fs::exists(dir / "early.bmp"));
  EXPECT_FALSE(fs::exists(dir / "ch-1.png"));
  EXPECT_FALSE(LeftOvers(dir / ""));

  // Mistakes in the chain itself: no image is read, the status is 2.
  const struct {
    const char* chain;
    const char* says;
  } mistakes[] = {
      {"Rotation 0 30", "Rotation takes 3 or 5 arguments, not 2"},
      {"Flip 0 Rotaton 0 30 '#000000'", "'Rotaton' is not an operation"},
      {"Rotaton 0 30 '#000000'", "step 1: 'Rotaton' is not an operation"},
      {"Gamma fast", "GAMMA 'fast' is not a number"},
      {"Arithmetic 0 missing.png", "SECOND 'missing.png' cannot be read: LoadPNG gave 1"},
      {"EqualizeNoRGBHistogram 1", "cannot run from the tool: private"},
  };
  for (const auto& m : mistakes) {
    const Result e = Tool(dir / "", std::string("run in.bmp out.bmp ") + m.chain);
    EXPECT_EQ(e.status, 2) << m.chain;
    EXPECT_TRUE(Contains(e.err, m.says)) << m.chain << ": " << e.err;
  }
  EXPECT_FALSE(fs::exists(dir / "out.bmp"));
}

TEST(ToolRun, JsonReportsEveryStep) {
  TempDir dir;
  CLamina img = lamina_test::Random(24, 16, 16, 4);
  ASSERT_EQ(img.fnIMG_SaveBMP(CString((dir / "in.bmp").string())), 0);
  const Result ok = Tool(dir / "", "run --json in.bmp - GetRGBPixel 1 2 FindThreshold 1");
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_TRUE(Contains(ok.out, "\"ok\": true")) << ok.out;
  EXPECT_TRUE(std::regex_search(ok.out, std::regex("\"colour\": \"#[0-9a-f]{6}\"")));
  EXPECT_TRUE(std::regex_search(ok.out, std::regex("\"threshold\": [0-9]+, \"passes\": [0-9]+")));
  const Result bad = Tool(dir / "", "run in.bmp out.bmp --json Flip 7");
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(Contains(bad.out, "\"ok\": false")) << bad.out;
  EXPECT_TRUE(Contains(bad.out, "\"code\": 1")) << bad.out;
  // Where Python is installed, the output is checked as JSON.
  if (std::system("python3 -c 'import json' > /dev/null 2>&1") == 0) {
    lamina_test::WriteAll(dir / "a.json", lamina_test::B(ok.out));
    lamina_test::WriteAll(dir / "b.json", lamina_test::B(bad.out));
    EXPECT_EQ(std::system(("python3 -m json.tool " + (dir / "a.json").string() +
                           " > /dev/null && "
                           "python3 -m json.tool " +
                           (dir / "b.json").string() + " > /dev/null")
                              .c_str()),
              0);
  }
}

TEST(ToolBatch, EveryFileIsDoneAndTheBadOneIsReported) {
  TempDir dir;
  fs::create_directory(dir / "in");
  std::vector<CLamina> pictures;
  for (int i = 0; i < 5; ++i) {
    pictures.push_back(lamina_test::Random(24, 20 + i, 12, 10 + i));
    ASSERT_EQ(
        lamina::formats::SavePNG(
            pictures.back(), CString((dir / "in" / ("p" + std::to_string(i) + ".png")).string())),
        0);
  }
  lamina_test::WriteAll(dir / "in" / "broken.png", lamina_test::B("not a picture"));
  const Result r =
      Tool(dir / "", "batch 'in/*.png' out --ext .bmp Flip 0 Split 0 out/{name}-{}.bmp");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "6 files, 5 written, 1 failed")) << r.err;
  EXPECT_TRUE(Contains(r.err, "broken.png: cannot read: LoadPNG gave 2")) << r.err;
  for (int i = 0; i < 5; ++i) {
    CLamina out;
    ASSERT_EQ(
        out.fnIMG_LoadBMP(CString((dir / "out" / ("p" + std::to_string(i) + ".bmp")).string())), 0);
    pictures[i].fnIMG_Flip(0);
    EXPECT_EQ(lamina_test::PixelsOf(out), lamina_test::PixelsOf(pictures[i]));
    EXPECT_TRUE(fs::exists(dir / "out" / ("p" + std::to_string(i) + "-4.bmp")));
  }
  EXPECT_FALSE(fs::exists(dir / "out" / "broken.bmp"));
  // An output every file would overwrite is refused before any work.
  const Result same = Tool(dir / "", "batch 'in/*.png' out2 SaveBMP one.bmp");
  EXPECT_EQ(same.status, 2);
  EXPECT_TRUE(Contains(same.err, "put {name} in it")) << same.err;
  EXPECT_FALSE(fs::exists(dir / "out2" / "p0.png"));
}

// Every picture the page names, in the order it names them.
std::vector<std::string> Images(const std::string& html) {
  std::vector<std::string> names;
  const std::regex src("src=\"([^\"]+)\"");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), src); it != std::sregex_iterator();
       ++it)
    names.push_back((*it)[1]);
  return names;
}

TEST(ToolGallery, EveryPictureOnThePageExistsAndDecodesAndEveryCallRuns) {
  TempDir dir;
  CLamina mine = lamina_test::Random(24, 300, 150, 8);
  ASSERT_EQ(lamina::formats::SavePNG(mine, CString((dir / "mine.png").string())), 0);
  // A folder whose name holds a space.
  const Result r = Tool(dir / "", "gallery 'my g' mine.png");
  ASSERT_EQ(r.status, 0) << r.err;
  const lamina_test::Bytes page = lamina_test::ReadAll(dir / "my g" / "index.html");
  const std::string html(page.begin(), page.end());
  const std::vector<std::string> images = Images(html);
  std::size_t runnable = 0;
  for (const lamina::registry::Operation& op : lamina::registry::Operations())
    runnable += op.noTool == nullptr ? 1 : 0;
  // Both originals, then each runnable operation on both pictures.
  EXPECT_EQ(images.size(), 2 + 2 * runnable);
  for (const std::string& name : images) {
    CLamina img;
    EXPECT_EQ(lamina::formats::LoadPNG(img, CString((dir / "my g" / name).string())), 0) << name;
    EXPECT_GT(img.fnIMG_GetColumns(), 0) << name;
  }
  EXPECT_FALSE(Contains(html, "class=\"fail\"")) << "a representative call failed";
  EXPECT_TRUE(Contains(html, "EqualizeNoRGBHistogram"));  // listed among those not shown
}

// The page as a browser draws it: headless Chromium's screenshot decodes, and is not one colour.
TEST(ToolGallery, ChromiumRendersThePage) {
  std::string browser;
  for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
    if (browser.empty() &&
        std::system(("command -v " + std::string(name) + " > /dev/null 2>&1").c_str()) == 0)
      browser = name;
  if (browser.empty()) GTEST_SKIP() << "no Chromium installed";
  TempDir dir;
  ASSERT_EQ(Tool(dir / "", "gallery g").status, 0);
  const std::string shot = (dir / "shot.png").string();
  const std::string command = browser +
                              " --headless --no-sandbox --disable-gpu --hide-scrollbars "
                              "--window-size=1200,900 --screenshot=" +
                              shot + " file://" + (dir / "g" / "index.html").string() +
                              " > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  CLamina img;
  ASSERT_EQ(lamina::formats::LoadPNG(img, CString(shot)), 0);
  EXPECT_EQ(img.fnIMG_GetColumns(), 1200);
  // The built-in picture's hues show: some pixels are strongly coloured.
  int coloured = 0;
  for (int y = 0; y < img.fnIMG_GetRows(); y += 3)
    for (int x = 0; x < img.fnIMG_GetColumns(); x += 3) {
      RGBQUAD c{};
      img.fnIMG_GetRGBPixel(x, y, &c);
      const int hi = std::max({c.rgbRed, c.rgbGreen, c.rgbBlue});
      const int lo = std::min({c.rgbRed, c.rgbGreen, c.rgbBlue});
      coloured += hi - lo > 150 ? 1 : 0;
    }
  EXPECT_GT(coloured, 1000);
}

}  // namespace
