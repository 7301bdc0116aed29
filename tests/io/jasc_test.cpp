// JASC palette files: the exact text written, files with CR LF and bare LF line ends, short and
// damaged files refused with the palette left alone.
#include "support/files.h"

namespace {

using namespace lamina_test;

// Red, green, blue of entry i.
std::vector<int> Rgb(CLamina& img, int i) {
  const RGBQUAD e = Entry(img, i);
  return {e.rgbRed, e.rgbGreen, e.rgbBlue};
}
using V = std::vector<int>;

// A 4-bit image whose palette holds colours that tell the entries apart.
CLamina Colour4() {
  std::vector<RGBQUAD> pal(16);
  for (int i = 0; i < 16; ++i) pal[i] = Quad(i * 17, i * 2, i * 3, 99);
  return FromRows(4, {{0, 0, 0, 0}, {0, 0, 0, 0}}, pal);
}

std::string SavedText(CLamina& img) {
  TempDir dir;
  EXPECT_EQ(img.fnIMG_SavePalette(Path(dir / "p.pal")), 0);
  const Bytes text = ReadAll(dir / "p.pal");
  return std::string(text.begin(), text.end());
}

TEST(JascSave, RedGreenBlueLinesEndingInCrLf) {
  CLamina img = Colour4();
  const Snapshot before = Snap(img);
  std::string expected = "JASC-PAL\r\n0100\r\n16\r\n";
  for (int i = 0; i < 16; ++i)
    expected += std::to_string(3 * i) + " " + std::to_string(2 * i) + " " +
                std::to_string(17 * i) + "\r\n";
  EXPECT_EQ(SavedText(img), expected);
  EXPECT_EQ(Snap(img), before);
}

TEST(JascSave, ShortPaletteIsPaddedWithBlackNotReadBeyond) {
  // An 8-bit image whose block holds only two palette entries.
  CLamina img = WithShortPalette(8, 2, 1, {Quad(1, 2, 3), Quad(4, 5, 6)});
  std::string expected = "JASC-PAL\r\n0100\r\n256\r\n3 2 1\r\n6 5 4\r\n";
  for (int i = 2; i < 256; ++i) expected += "0 0 0\r\n";
  EXPECT_EQ(SavedText(img), expected);
}

TEST(JascSave, OnlyFourAndEightBitsAndNoFileOtherwise) {
  TempDir dir;
  CLamina one(nullptr, nullptr, 2, 2, 1), rgb(nullptr, nullptr, 2, 2, 24);
  EXPECT_EQ(one.fnIMG_SavePalette(Path(dir / "1.pal")), 1);
  EXPECT_EQ(rgb.fnIMG_SavePalette(Path(dir / "24.pal")), 1);
  EXPECT_FALSE(fs::exists(dir / "1.pal") || fs::exists(dir / "24.pal"));
  CLamina img;
  EXPECT_EQ(img.fnIMG_SavePalette(CString("/nonexistent/dir/x.pal")), 2);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(img.fnIMG_SavePalette(CString("/dev/full")), 3);
  }
}

TEST(JascLoad, RealFilesWithCrLfAndBareLineFeeds) {
  const CString ramp = Path(Data("jasc/ramp256_crlf.pal"));
  CLamina eight;
  ASSERT_EQ(eight.fnIMG_LoadPalette(ramp), 0);
  EXPECT_EQ(Rgb(eight, 255), (V{255, 253, 0}));
  // A 256-entry file gives a 4-bit image its first 16 lines, reserved bytes 0.
  CLamina four = Colour4();
  ASSERT_EQ(four.fnIMG_LoadPalette(ramp), 0);
  EXPECT_EQ(Rgb(four, 15), (V{15, 45, 240}));
  EXPECT_EQ(Entry(four, 15).rgbReserved, 0);
  ASSERT_EQ(four.fnIMG_LoadPalette(Path(Data("jasc/sixteen_crlf.pal"))), 0);
  EXPECT_EQ(Rgb(four, 15), (V{255, 50, 43}));
  // Bare line feeds: the first digit of each line is kept.
  ASSERT_EQ(four.fnIMG_LoadPalette(Path(Data("jasc/aspear.pal"))), 0);
  EXPECT_EQ(Rgb(four, 1), (V{246, 238, 222}));
  // Sixteen entries into 8 bits change only sixteen.
  CLamina gray;
  ASSERT_EQ(gray.fnIMG_LoadPalette(Path(Data("jasc/aspear.pal"))), 0);
  EXPECT_EQ(Rgb(gray, 0), (V{148, 246, 246}));
  EXPECT_EQ(Rgb(gray, 16), (V{16, 16, 16}));
}

// ---- Text made here ------------------------------------------------------------------------

int LoadText(CLamina& img, const std::string& text) {
  TempDir dir;
  WriteAll(dir / "t.pal", B(text));
  return img.fnIMG_LoadPalette(Path(dir / "t.pal"));
}
std::string Sixteen(const std::string& first, const char* end = "\r\n") {
  std::string s = "JASC-PAL" + std::string(end) + "0100" + end + "16" + end + first;
  for (int i = 1; i < 16; ++i) s += std::to_string(i) + " 0 0" + end;
  return s;
}

TEST(JascLoad, NumbersWrapAtEightBitsAndTheLastLineEndMayBeMissing) {
  CLamina img = Colour4();
  ASSERT_EQ(LoadText(img, Sixteen("300 0 0\r\n")), 0);
  EXPECT_EQ(Rgb(img, 0), (V{44, 0, 0}));
  EXPECT_EQ(Rgb(img, 9), (V{9, 0, 0}));
  std::string text = Sixteen("1 2 3\n", "\n");
  text.pop_back();  // "15 0 0" ends the file
  ASSERT_EQ(LoadText(img, text), 0);
  EXPECT_EQ(Rgb(img, 0), (V{1, 2, 3}));
  EXPECT_EQ(Rgb(img, 15), (V{15, 0, 0}));
}

TEST(JascLoad, RefusalsLeaveThePalette) {
  const std::string whole = Sixteen("1 2 3\r\n");
  const std::string body = whole.substr(whole.find("1 2 3"));
  std::vector<std::pair<std::string, int>> cases = {
      {"JASC-PAX\r\n0100\r\n16\r\n" + body, 3},
      {"jasc-pal\r\n0100\r\n16\r\n" + body, 3},
      {"JASC-PAL\r\n0100\r\n8\r\n" + body, 3},
      {"JASC-PAL\r\n0100\r\n4294967312\r\n" + body, 3},  // 16 plus 2^32: no wrapping onto 16
  };
  // Every cut before the last entry's digits ends inside the header or the entries.
  for (std::size_t n = 0; n < whole.size() - 2; ++n) cases.push_back({whole.substr(0, n), 4});
  for (const auto& [text, code] : cases) {
    CLamina img = Colour4();
    const Snapshot before = Snap(img);
    EXPECT_EQ(LoadText(img, text), code) << text;
    EXPECT_EQ(Snap(img), before);
  }
  CLamina img = Colour4();
  EXPECT_EQ(LoadText(img, whole.substr(0, whole.size() - 2)), 0);  // only the line end missing
}

TEST(JascLoad, DepthIsCheckedBeforeTheFile) {
  CLamina rgb(nullptr, nullptr, 2, 2, 24), one(nullptr, nullptr, 2, 2, 1);
  EXPECT_EQ(rgb.fnIMG_LoadPalette(CString("/nonexistent/x.pal")), 1);
  EXPECT_EQ(one.fnIMG_LoadPalette(Path(Data("jasc/aspear.pal"))), 1);
  CLamina img;
  EXPECT_EQ(img.fnIMG_LoadPalette(CString("/nonexistent/x.pal")), 2);
}

}  // namespace
