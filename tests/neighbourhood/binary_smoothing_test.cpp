// Binary smoothing: the rules on pictures one can check by eye, their order, the untouched frame,
// and random pictures against a plain pixel-by-pixel reference.
#include <random>
#include <string>

#include "core/cpu.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;
using Rules = CLamina::CualesSuavizadoBinario;

Rules Only(int rule) {
  Rules r{};
  (&r.bRegla1)[rule - 1] = 1;
  return r;
}

// Rows from '0' and '1', rows parted by '/'.
Rows Picture(const std::string& text) {
  Rows rows(1);
  for (char c : text)
    if (c == '/')
      rows.emplace_back();
    else
      rows.back().push_back(c == '1' ? 1u : 0u);
  return rows;
}

TEST(BinarySmoothing, RulesOnSmallPictures) {
  struct Case {
    const char* what;
    Rules rules;
    const char *before, *after;
  };
  const Case cases[] = {
      {"rule 2 removes an isolated 1", Only(2), "000/010/000", "000/000/000"},
      {"rule 2 keeps opposite support", Only(2), "100/010/001", "100/010/001"},
      {"rule 1 fills a hole and a notch", Only(1), "11110/10110/11100/11010/11110",
       "11110/11110/11110/11110/11110"},
      {"fill then thin keeps the hole filled", Rules{1, 1, 0, 0, 0, 0}, "111/101/111",
       "111/111/111"},
      {"thin alone leaves the hole", Only(2), "111/101/111", "111/101/111"},
      {"rule 3: left, bottom-left, bottom", Only(3), "000/100/110", "000/110/110"},
      {"rule 3 not with p8 set", Only(3), "000/100/111", "000/100/111"},
      {"rule 6 is not rule 5", Only(6), "110/100/000", "110/100/000"},
      // Rule 1 fills the inside of a checkerboard; its frame would fill too, but never changes.
      {"frame kept", Rules{1, 1, 1, 1, 1, 1}, "1010/0101/1010/0101", "1010/0111/1110/0101"},
  };
  for (const Case& c : cases) {
    CLamina img = Marked(1, Picture(c.before), {Quad(1, 2, 3), Quad(4, 5, 6)});
    const std::vector<RGBQUAD> palette = PaletteOf(img);
    EXPECT_EQ(img.fnIMG_BinarySmoothing(c.rules), 0) << c.what;
    EXPECT_EQ(PixelsOf(img), Picture(c.after)) << c.what;
    EXPECT_EQ(Packed(PaletteOf(img)), Packed(palette)) << c.what;
    EXPECT_TRUE(PaddingKept(img)) << c.what;
  }
}

// The rules as stated, one pixel at a time through the public accessors.
int Reference(int rule, const int p[9]) {
  if (rule == 1) return p[4] || (p[1] + p[3] + p[5] + p[7] >= 3);
  if (rule == 2) {
    const bool g1 = p[0] || p[1] || p[3], g2 = p[5] || p[7] || p[8];
    const bool g3 = p[1] || p[2] || p[5], g4 = p[3] || p[6] || p[7];
    return p[4] && ((g1 && g2) || (g3 && g4));
  }
  // The L each rule fills, as p0 .. p8 ('1' set, '0' clear, '.' the centre).
  const char* shapes[] = {"0001.0110", "0000.1011", "1101.0000", "0110.1000"};
  for (int k = 0; k < 9; ++k)
    if (shapes[rule - 3][k] != '.' && p[k] != shapes[rule - 3][k] - '0') return p[4];
  return 1;
}

TEST(BinarySmoothing, RandomPicturesMatchAPlainReference) {
  std::mt19937 rng(17);
  const int sizes[][2] = {{67, 13}, {130, 9}, {3, 3}, {64, 5}, {65, 4}, {128, 6}, {200, 30}};
  for (const auto& s : sizes)
    for (int round = 0; round < 4; ++round) {
      Rows rows(s[1], std::vector<std::uint32_t>(s[0]));
      const unsigned density = 1 + rng() % 3;  // sparse to dense pictures
      for (auto& row : rows)
        for (auto& v : row) v = (rng() % 4) < density ? 1 : 0;
      Rules rules{};
      for (int k = 0; k < 6; ++k) (&rules.bRegla1)[k] = int(rng() % 2) * (k + 1);
      CLamina expected = Marked(1, rows);
      for (int rule = 1; rule <= 6; ++rule) {
        if ((&rules.bRegla1)[rule - 1] == 0) continue;
        CLamina copy = expected;
        for (int y = 1; y < s[1] - 1; ++y)
          for (int x = 1; x < s[0] - 1; ++x) {
            int p[9];
            for (int k = 0; k < 9; ++k)
              p[k] = int(expected.fnIMG_GetPixel(x - 1 + k % 3, y - 1 + k / 3));
            copy.fnIMG_SetPixel(x, y, Reference(rule, p));
          }
        expected = copy;
      }
      for (int widest : {0, 2, 3}) {
        lamina::cpu::g_widest = widest;
        CLamina img = Marked(1, rows);
        ASSERT_EQ(img.fnIMG_BinarySmoothing(rules), 0);
        EXPECT_EQ(PixelsOf(img), PixelsOf(expected)) << s[0] << " x " << s[1] << " set " << widest;
        EXPECT_TRUE(PaddingKept(img));
      }
    }
  lamina::cpu::g_widest = 3;
}

TEST(BinarySmoothing, RefusalsAndWhatIsLeft) {
  CLamina gray = Random(8, 9, 9, 1), binary = Random(1, 70, 9, 2);
  const Snapshot grayBefore = Snap(gray), before = Snap(binary);
  EXPECT_EQ(gray.fnIMG_BinarySmoothing(Rules{1, 1, 1, 1, 1, 1}), 1);
  EXPECT_EQ(Snap(gray), grayBefore);
  {
    FailingAllocations none;
    EXPECT_EQ(binary.fnIMG_BinarySmoothing(Only(2)), 2);
  }
  EXPECT_EQ(Snap(binary), before);
  EXPECT_EQ(binary.fnIMG_BinarySmoothing(Rules{}), 0);
  EXPECT_EQ(Snap(binary), before);
  // A block with bytes after its rows (as a file may leave them) comes out compact when a rule
  // runs, as assigning the working copy leaves it; with no rule it is left alone.
  CLamina loaded = Raw(1, 20, 6, {Quad(0, 0, 0), Quad(255, 255, 255)}, 40);
  EXPECT_EQ(loaded.fnIMG_BinarySmoothing(Rules{}), 0);
  EXPECT_EQ(Snap(loaded).block.size(), 40 + 8 + 4 * 6 + 40u);
  EXPECT_EQ(loaded.fnIMG_BinarySmoothing(Only(1)), 0);
  EXPECT_EQ(Snap(loaded).block.size(), 40 + 8 + 4 * 6u);
}

}  // namespace
