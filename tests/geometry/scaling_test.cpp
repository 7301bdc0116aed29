// fnIMG_Scaling and fnIMG_ScotomaZoom.
#include <array>
#include <cmath>

#include "support/pictures.h"

using namespace lamina_test;

namespace {

constexpr unsigned long kWhite = 0xFFFFFF, kBlack = 0x000000;

TEST(Scaling, SizesAndTheBottomLeftAnchor) {
  const std::uint32_t a = 1, b = 2, c = 3, d = 4;
  struct Case {
    const char* what;
    Rows in;
    float h, v;
    int unit;
    Rows out;
  } cases[] = {
      {"3 wide by 0.5 is 1 wide", {{a, b, c}}, 0.5f, 1, 0, {{a}}},
      {"doubling 3 rows takes rows 0, 0, 1, 1, 2, 2 from the bottom",
       {{a}, {b}, {c}},
       1,
       2,
       0,
       {{a}, {a}, {b}, {b}, {c}, {c}}},
      {"halving 4 rows keeps rows 1 and 3 from the top",
       {{a}, {b}, {c}, {d}},
       1,
       0.5f,
       0,
       {{b}, {d}}},
      {"1.5 times 3 columns", {{a, b, c}}, 1.5f, 1, 0, {{a, b, b, c}}},
      {"to 4 x 2 pixels", {{a, b}}, 4, 2, 1, {{a, a, b, b}, {a, a, b, b}}},
      {"a factor of 0 leaves no columns", {{a, b}, {c, d}}, 0, 1, 0, {{}, {}}},
      {"no rows either", {{a, b}, {c, d}}, 0, 0, 0, {}},
  };
  for (const Case& k : cases) {
    CLamina img = FromRows(8, k.in);
    ASSERT_EQ(img.fnIMG_Scaling(k.h, k.v, k.unit), 0) << k.what;
    EXPECT_EQ(PixelsOf(img), k.out) << k.what;
  }
}

// Doubling, halving and the identity (both units) have plain closed forms. Random pictures of
// every depth, odd sizes; the whole block is compared, so fourth bytes and padding must be 0.
TEST(Scaling, DoublesHalvesAndKeepsRandomPicturesOfEveryDepth) {
  unsigned seed = 2100;
  const int w = 13, h = 7;
  for (int bpp : {1, 4, 8, 24, 32}) {
    CLamina src = Random(bpp, w, h, ++seed);
    src.fnIMG_SetFileName(L"scaled.bmp");
    struct Case {
      float x, y;
      int unit, w, h;
      int (*col)(int);
      int (*row)(int);  // result row from the top -> source row from the top
    } cases[] = {
        {2, 2, 0, 26, 14, [](int x) { return x / 2; }, [](int y) { return 6 - (13 - y) / 2; }},
        {0.5f, 0.5f, 0, 6, 3, [](int x) { return 2 * x; }, [](int y) { return 6 - 2 * (2 - y); }},
        {1, 1, 0, w, h, [](int x) { return x; }, [](int y) { return y; }},
        {w, h, 1, w, h, [](int x) { return x; }, [](int y) { return y; }},
    };
    for (const Case& k : cases) {
      CLamina img = src;
      CLamina expected = Drawn(
          src, k.w, k.h, [&](int x, int y) { return src.fnIMG_GetPixel(k.col(x), k.row(y)); });
      ASSERT_EQ(img.fnIMG_Scaling(k.x, k.y, k.unit), 0);
      EXPECT_EQ(Snap(img), Snap(expected)) << bpp << " bits by " << k.x << " unit " << k.unit;
    }
  }
}

TEST(Scaling, RefusesWhatItCannotBuildAndLeavesTheImage) {
  struct Case {
    const char* what;
    int bpp;  // 16: a 16-bit image; 0: an object without an image
    float h, v;
    int unit, code;
  } cases[] = {
      {"a value below 0", 8, 1, -0.5f, 7, 1},
      {"not a number", 8, NAN, 1, 0, 1},
      {"infinite", 8, 1, INFINITY, 0, 1},
      {"unit", 8, 1, 1, 2, 2},
      {"16 bits", 16, 1, 1, 0, 3},
      {"no image", 0, 1, 1, 0, 3},
      {"beyond the header's fields", 8, 1e5f, 1e5f, 0, 4},
  };
  for (const Case& k : cases) {
    CLamina img = k.bpp == 16  ? Sixteen({{1, 2}, {3, 4}})
                  : k.bpp == 0 ? CLamina(nullptr, nullptr, 2, 2, 16)
                               : FromRows(k.bpp, {{1, 2}, {3, 4}});
    const Snapshot before = Snap(img);
    EXPECT_EQ(img.fnIMG_Scaling(k.h, k.v, k.unit), k.code) << k.what;
    EXPECT_EQ(Snap(img), before) << k.what;
  }
  CLamina img = Random(8, 9, 9, 5);
  const Snapshot before = Snap(img);
  {
    FailingAllocations fail;
    EXPECT_EQ(img.fnIMG_Scaling(2, 2, 0), 4);
  }
  EXPECT_EQ(Snap(img), before);
  // An image without columns stays so in unit 1: no division by its width of 0.
  CLamina empty(nullptr, nullptr, 0, 3, 8);
  EXPECT_EQ(empty.fnIMG_Scaling(5, 6, 1), 0);
  EXPECT_EQ(empty.fnIMG_GetColumns(), 0);
  EXPECT_EQ(empty.fnIMG_GetRows(), 6);
}

// ---- Scotoma zoom -----------------------------------------------------------------------------

TEST(ScotomaZoom, PushMovesPixelsOfEveryDepth) {
  // Row a b c d e f split at x = 3 with 2 columns of band left of it and 1 right of it: c moves to
  // column 0, d e to columns 4 and 5, the band is painted. Rows 0 and 1 form the stretch (y = 1,
  // reaching 1 up and 0 down); row 2 stays. At 1 and 4 bits the pixels move as at 8.
  struct Case {
    int bpp;
    std::uint32_t v[6], paint;
    unsigned long colour;
  } cases[] = {
      {1, {0, 1, 1, 0, 1, 0}, 0, kBlack},
      {4, {1, 2, 3, 4, 5, 6}, 15, kWhite},
      {8, {1, 2, 3, 4, 5, 6}, 255, kWhite},
      {24, {Rgb(1, 2, 3), 5, 6, Rgb(7, 8, 9), 10, 11}, 0xFFFFFF, kWhite},
      {32, {Rgb(1, 2, 3), 5, 6, Rgb(7, 8, 9), 10, 11}, 0xFFFFFF, kWhite},
  };
  for (const Case& k : cases) {
    const auto* v = k.v;
    const std::vector<std::uint32_t> row(v, v + 6);
    CLamina img = FromRows(k.bpp, {row, row, row});
    ASSERT_EQ(img.fnIMG_ScotomaZoom(0, 3, 1, 2, 1, 0, 1, 0, 0, k.colour), 0) << k.bpp;
    const std::vector<std::uint32_t> pushed{v[2], k.paint, k.paint, k.paint, v[3], v[4]};
    EXPECT_EQ(PixelsOf(img), (Rows{pushed, pushed, row})) << k.bpp;
  }
  // Across: rows r0..r5 split at y = 3, 2 rows of band above and 1 below.
  CLamina img = FromRows(8, {{10, 10}, {11, 11}, {12, 12}, {13, 13}, {14, 14}, {15, 15}});
  ASSERT_EQ(img.fnIMG_ScotomaZoom(1, 1, 3, 2, 1, 0, 1, 0, 0, kWhite), 0);
  EXPECT_EQ(PixelsOf(img),
            (Rows{{12, 12}, {255, 255}, {255, 255}, {255, 255}, {13, 13}, {14, 14}}));
}

TEST(ScotomaZoom, SqueezeResamplesTheSidesIntoTheRoomLeft) {
  // 20 columns 0..19 split at x = 10 with 4 columns of band left: the 10 left columns are
  // resampled into 6 (columns 0, 2, 3, 5, 7, 8), the right side keeps its 10.
  std::vector<std::uint32_t> row;
  for (int i = 0; i < 20; ++i) row.push_back(i);
  const std::uint32_t W = 255, s = 10;
  for (int fill : {0, 1}) {
    CLamina img = FromRows(8, {row, row, row});
    ASSERT_EQ(img.fnIMG_ScotomaZoom(0, 10, 1, 4, 0, 1, 1, 1, fill, kWhite), 0);
    const std::uint32_t p = fill == 0 ? W : s;  // fill 1 repeats the split pixel (10, r)
    const std::vector<std::uint32_t> squeezed{0,  2,  3,  5,  7,  8,  p,  p,  p,  p,
                                              10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    EXPECT_EQ(PixelsOf(img), (Rows{squeezed, squeezed, squeezed})) << fill;
  }
  // Across: rows 1..6 split at y = 3, one band row each side; each 3-row side is resampled into 2
  // rows anchored at its bottom, so its top row goes.
  CLamina img = FromRows(8, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}});
  ASSERT_EQ(img.fnIMG_ScotomaZoom(1, 0, 3, 1, 1, 1, 0, 1, 0, kWhite), 0);
  EXPECT_EQ(PixelsOf(img), (Rows{{2, 2}, {3, 3}, {W, W}, {W, W}, {5, 5}, {6, 6}}));
  // The squeezed result replaces the image as an assigned copy: bytes past the rows go.
  CLamina loose = Raw(8, 6, 4, GrayRamp(256), 100);
  ASSERT_EQ(loose.fnIMG_ScotomaZoom(0, 3, 1, 1, 1, 1, 1, 1, 0, kWhite), 0);
  const CLamina::Punteros p = loose.fnIMG_GetPointers();
  EXPECT_EQ(GlobalSize(GlobalHandle(p.lpDib)), 40u + 1024u + 32u);
  EXPECT_EQ(p.lpBits - p.lpDib, 40 + 1024);
}

TEST(ScotomaZoom, BandsOfNoWidthLeaveRandomPicturesAlone) {
  unsigned seed = 2200;
  for (int bpp : {1, 4, 8, 24, 32})
    for (int orientation : {0, 1})
      for (int room : {0, 1}) {
        CLamina img = Random(bpp, 11, 9, ++seed);
        const Rows before = PixelsOf(img);
        ASSERT_EQ(img.fnIMG_ScotomaZoom(orientation, 5, 4, 0, 0, 2, 2, room, 0, kWhite), 0);
        EXPECT_EQ(PixelsOf(img), before) << bpp << " " << orientation << " " << room;
      }
}

TEST(ScotomaZoom, RefusesInCheckOrderAndLeavesTheImage) {
  using Args = std::array<int, 9>;
  struct Case {
    const char* what;
    bool sixteen;
    Args a;  // orientation, x, y, near width, far width, far reach, near reach, room, fill
    int code;
  } cases[] = {
      {"orientation", true, {2, 9, 9, 9, 9, 9, 9, 9, 9}, 1},
      {"band past the left", true, {0, 1, 1, 2, 0, 0, 0, 9, 9}, 2},
      {"reach past the left, across", false, {1, 1, 1, 0, 0, 0, 2, 0, 0}, 2},
      {"a negative width", false, {0, 1, 1, -1, 0, 0, 0, 0, 0}, 2},
      {"a negative reach", false, {1, 1, 1, 0, 0, -1, 0, 0, 0}, 2},
      {"room", true, {0, 1, 1, 0, 0, 0, 0, -1, 9}, 3},
      {"fill", true, {0, 1, 1, 0, 0, 0, 0, 1, 2}, 4},
      {"depth", true, {0, 1, 1, 0, 0, 0, 0, 1, 1}, 5},
  };
  for (const Case& k : cases) {
    CLamina img = k.sixteen ? Sixteen({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}})
                            : FromRows(8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    const Snapshot before = Snap(img);
    const Args& a = k.a;
    EXPECT_EQ(img.fnIMG_ScotomaZoom(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], 0),
              k.code)
        << k.what;
    EXPECT_EQ(Snap(img), before) << k.what;
  }
  CLamina img = Random(24, 12, 8, 3);
  const Snapshot before = Snap(img);
  for (int orientation : {0, 1}) {
    FailingAllocations fail(1);
    EXPECT_EQ(img.fnIMG_ScotomaZoom(orientation, 5, 4, 1, 1, 2, 2, 1, 0, kWhite), 6);
  }
  EXPECT_EQ(Snap(img), before);
}

}  // namespace
