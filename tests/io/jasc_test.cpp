// JASC palette files: the exact text written, files with CR LF and bare LF line ends, short and
// damaged files refused with the palette left alone.
#include <gtest/gtest.h>

#include "files_test_util.h"

namespace {

using namespace files_test;

std::vector<RGBQUAD> PaletteOf(CLamina& img) {
  const lamina::ImageView v = lamina::BlockAccess::View(img);
  return std::vector<RGBQUAD>(v.palette, v.palette + v.paletteEntries);
}
bool Same(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * 4) == 0;
}
// Red, green, blue of entry i.
std::vector<int> Rgb(CLamina& img, int i) {
  const RGBQUAD e = PaletteOf(img)[static_cast<std::size_t>(i)];
  return {e.rgbRed, e.rgbGreen, e.rgbBlue};
}

std::vector<std::string> Lines(const Bytes& text) {
  std::vector<std::string> out;
  std::string cur;
  for (std::uint8_t c : text) {
    cur.push_back(static_cast<char>(c));
    if (c == '\n') {
      out.push_back(cur);
      cur.clear();
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

// A 4-bit image whose palette holds colours that tell the entries apart.
CLamina Colour4() {
  RGBQUAD pal[16];
  for (int i = 0; i < 16; ++i)
    pal[i] = RGBQUAD{static_cast<BYTE>(i * 17), static_cast<BYTE>(i * 2), static_cast<BYTE>(i * 3),
                     static_cast<BYTE>(99)};
  return CLamina(nullptr, pal, 4, 2, 4);
}

// ---- Saving --------------------------------------------------------------------------------

TEST(JascSave, FourBitPaletteText) {
  TempDir dir;
  CLamina img = Colour4();
  const Snapshot before = Take(img);
  ASSERT_EQ(img.fnIMG_SavePalette(CString((dir / "p.pal").string())), 0);
  const std::vector<std::string> lines = Lines(ReadAll(dir / "p.pal"));
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[0], "JASC-PAL\r\n");
  EXPECT_EQ(lines[1], "0100\r\n");
  EXPECT_EQ(lines[2], "16\r\n");
  EXPECT_EQ(lines[3], "0 0 0\r\n");
  EXPECT_EQ(lines[4], "3 2 17\r\n");  // entry 1: red 3, green 2, blue 17
  EXPECT_EQ(lines[18], "45 30 255\r\n");
  EXPECT_EQ(Take(img), before);
}

TEST(JascSave, EightBitPaletteHas256Lines) {
  TempDir dir;
  CLamina img;  // the default image: gray ramp
  ASSERT_EQ(img.fnIMG_SavePalette(CString((dir / "g.pal").string())), 0);
  const std::vector<std::string> lines = Lines(ReadAll(dir / "g.pal"));
  ASSERT_EQ(lines.size(), 259u);
  EXPECT_EQ(lines[2], "256\r\n");
  EXPECT_EQ(lines[3 + 200], "200 200 200\r\n");
  EXPECT_EQ(lines[258], "255 255 255\r\n");
}

TEST(JascSave, OnlyFourAndEightBitsAndNoFileOtherwise) {
  TempDir dir;
  CLamina one(nullptr, nullptr, 2, 2, 1), rgb(nullptr, nullptr, 2, 2, 24);
  EXPECT_EQ(one.fnIMG_SavePalette(CString((dir / "1.pal").string())), 1);
  EXPECT_EQ(rgb.fnIMG_SavePalette(CString((dir / "24.pal").string())), 1);
  EXPECT_FALSE(fs::exists(dir / "1.pal"));
  EXPECT_FALSE(fs::exists(dir / "24.pal"));
  CLamina img;
  EXPECT_EQ(img.fnIMG_SavePalette(CString("/nonexistent/dir/x.pal")), 2);
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(img.fnIMG_SavePalette(CString("/dev/full")), 3);
  }
}

TEST(JascSave, ShortPaletteIsPaddedWithBlackNotReadBeyond) {
  // An 8-bit image whose block holds only two palette entries (biClrUsed 2), taken from a handle
  // exactly that size: the writer still emits 256 lines without reading past the two.
  const std::size_t size = 40 + 8 + 4;
  HGLOBAL h = GlobalAlloc(GHND, size);
  auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
  BITMAPINFOHEADER hdr{};
  hdr.biSize = 40;
  hdr.biWidth = 2;
  hdr.biHeight = 1;
  hdr.biPlanes = 1;
  hdr.biBitCount = 8;
  hdr.biClrUsed = 2;
  std::memcpy(p, &hdr, 40);
  const RGBQUAD two[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  std::memcpy(p + 40, two, 8);
  GlobalUnlock(h);
  CLamina img;
  img.fnIMG_CopyFromHandle(h);
  GlobalFree(h);
  ASSERT_EQ(img.fnIMG_GetColorsUsed(), 2);

  TempDir dir;
  ASSERT_EQ(img.fnIMG_SavePalette(CString((dir / "s.pal").string())), 0);
  const std::vector<std::string> lines = Lines(ReadAll(dir / "s.pal"));
  ASSERT_EQ(lines.size(), 259u);
  EXPECT_EQ(lines[3], "3 2 1\r\n");
  EXPECT_EQ(lines[4], "6 5 4\r\n");
  EXPECT_EQ(lines[5], "0 0 0\r\n");
  EXPECT_EQ(lines[258], "0 0 0\r\n");
}

// ---- Loading real files --------------------------------------------------------------------

TEST(JascLoad, CrLfFileInto8And4Bits) {
  const CString file(Data("jasc/ramp256_crlf.pal").string());
  CLamina eight;
  ASSERT_EQ(eight.fnIMG_LoadPalette(file), 0);
  EXPECT_EQ(Rgb(eight, 0), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(Rgb(eight, 100), (std::vector<int>{100, 44, 155}));
  EXPECT_EQ(Rgb(eight, 255), (std::vector<int>{255, 253, 0}));
  EXPECT_EQ(PaletteOf(eight)[100].rgbReserved, 0);

  // A 256-entry file gives a 4-bit image its first 16 lines.
  CLamina four = Colour4();
  ASSERT_EQ(four.fnIMG_LoadPalette(file), 0);
  EXPECT_EQ(Rgb(four, 15), (std::vector<int>{15, 45, 240}));
  EXPECT_EQ(PaletteOf(four)[15].rgbReserved, 0);  // the entries come whole, reserved byte 0

  CLamina sixteen = Colour4();
  ASSERT_EQ(sixteen.fnIMG_LoadPalette(CString(Data("jasc/sixteen_crlf.pal").string())), 0);
  EXPECT_EQ(Rgb(sixteen, 0), (std::vector<int>{0, 200, 0}));
  EXPECT_EQ(Rgb(sixteen, 1), (std::vector<int>{17, 190, 37}));
  EXPECT_EQ(Rgb(sixteen, 15), (std::vector<int>{255, 50, 43}));
}

TEST(JascLoad, BareLineFeedFilesKeepTheFirstDigit) {
  CLamina img = Colour4();
  ASSERT_EQ(img.fnIMG_LoadPalette(CString(Data("jasc/aspear.pal").string())), 0);
  EXPECT_EQ(Rgb(img, 0), (std::vector<int>{148, 246, 246}));
  EXPECT_EQ(Rgb(img, 1), (std::vector<int>{246, 238, 222}));
  EXPECT_EQ(Rgb(img, 15), (std::vector<int>{0, 0, 0}));

  CLamina other = Colour4();
  ASSERT_EQ(other.fnIMG_LoadPalette(CString(Data("jasc/arcanine.pal").string())), 0);
  EXPECT_EQ(Rgb(other, 15), (std::vector<int>{16, 16, 16}));
}

TEST(JascLoad, SixteenEntriesIntoEightBitsChangeOnlySixteen) {
  CLamina img;  // gray ramp of 256
  ASSERT_EQ(img.fnIMG_LoadPalette(CString(Data("jasc/aspear.pal").string())), 0);
  EXPECT_EQ(Rgb(img, 0), (std::vector<int>{148, 246, 246}));
  EXPECT_EQ(Rgb(img, 16), (std::vector<int>{16, 16, 16}));
  EXPECT_EQ(Rgb(img, 255), (std::vector<int>{255, 255, 255}));
}

TEST(JascLoad, RoundTrip) {
  TempDir dir;
  CLamina a = Colour4();
  ASSERT_EQ(a.fnIMG_SavePalette(CString((dir / "r.pal").string())), 0);
  CLamina b(nullptr, nullptr, 1, 1, 4);
  ASSERT_EQ(b.fnIMG_LoadPalette(CString((dir / "r.pal").string())), 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(Rgb(a, i), Rgb(b, i)) << i;
}

// ---- Damaged and refused files -------------------------------------------------------------

int LoadText(CLamina& img, const std::string& text) {
  TempDir dir;
  WriteAll(dir / "t.pal", B(text));
  return img.fnIMG_LoadPalette(CString((dir / "t.pal").string()));
}

std::string SixteenLines(const std::string& first, const char* end) {
  std::string s = first;
  for (int i = 1; i < 16; ++i) s += std::to_string(i) + " 0 0" + end;
  return s;
}

TEST(JascLoad, NumbersWrapAtEightBits) {
  CLamina img = Colour4();
  ASSERT_EQ(LoadText(img, "JASC-PAL\r\n0100\r\n16\r\n" + SixteenLines("300 0 0\r\n", "\r\n")), 0);
  EXPECT_EQ(Rgb(img, 0), (std::vector<int>{44, 0, 0}));
  EXPECT_EQ(Rgb(img, 9), (std::vector<int>{9, 0, 0}));
}

TEST(JascLoad, LastLineWithoutLineEnd) {
  CLamina img = Colour4();
  std::string text = "JASC-PAL\n0100\n16\n" + SixteenLines("1 2 3\n", "\n");
  text.pop_back();  // "15 0 0" ends the file
  ASSERT_EQ(LoadText(img, text), 0);
  EXPECT_EQ(Rgb(img, 15), (std::vector<int>{15, 0, 0}));
}

TEST(JascLoad, RefusalsLeaveThePalette) {
  const std::string body = SixteenLines("1 2 3\r\n", "\r\n");
  const struct {
    std::string text;
    int code;
  } cases[] = {
      {"JASC-PAX\r\n0100\r\n16\r\n" + body, 3},
      {"jasc-pal\r\n0100\r\n16\r\n" + body, 3},
      {"JASC-PAL\r\n0100\r\n8\r\n" + body, 3},
      {"JASC-PAL\r\n0100\r\n4294967312\r\n" + body, 3},  // 16 plus 2^32: no wrapping onto 16
      {"JASC-PAL\r\n0100\r\n16\r\n1 2 3\r\n4 5 6\r\n", 4},
      {"JASC-PAL\r\n0100\r\n", 4},
      {"JASC", 4},
      {"", 4},
  };
  for (const auto& c : cases) {
    CLamina img = Colour4();
    const auto before = PaletteOf(img);
    EXPECT_EQ(LoadText(img, c.text), c.code) << c.text;
    EXPECT_TRUE(Same(PaletteOf(img), before));
  }
}

TEST(JascLoad, EveryTruncationIsRefused) {
  const std::string whole = "JASC-PAL\r\n0100\r\n16\r\n" + SixteenLines("1 2 3\r\n", "\r\n");
  const std::size_t lastDigit = whole.size() - 2;  // "...15 0 0" without its CR LF
  for (std::size_t n = 0; n < whole.size(); ++n) {
    CLamina img = Colour4();
    const auto before = PaletteOf(img);
    const int code = LoadText(img, whole.substr(0, n));
    if (n >= lastDigit) {
      EXPECT_EQ(code, 0) << n;  // only the line end of the last entry is missing
    } else {
      EXPECT_EQ(code, 4) << n;
      EXPECT_TRUE(Same(PaletteOf(img), before)) << n;
    }
  }
}

TEST(JascLoad, DepthIsCheckedBeforeTheFile) {
  CLamina rgb(nullptr, nullptr, 2, 2, 24), one(nullptr, nullptr, 2, 2, 1);
  EXPECT_EQ(rgb.fnIMG_LoadPalette(CString("/nonexistent/x.pal")), 1);
  EXPECT_EQ(one.fnIMG_LoadPalette(CString(Data("jasc/aspear.pal").string())), 1);
  CLamina img;
  EXPECT_EQ(img.fnIMG_LoadPalette(CString("/nonexistent/x.pal")), 2);
}

}  // namespace
