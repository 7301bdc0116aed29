// mapBitmap and transformation: changing pixels through the caller's functions.
#include <functional>
#include <stdexcept>

#include "support/pictures.h"

using namespace lamina_test;

namespace {

using Coordinate = std::function<int(int, int)>;

// Resampling by the caller's coordinates, against a plain reading of the source: pixels outside
// give black at 24 and 32 bits and all ones at 1, 4, 8. Random pictures keep random padding and
// fourth bytes; the result has them 0, in the image's own block.
TEST(Transformation, ResamplesRandomPicturesOfEveryDepth) {
  unsigned seed = 2300;
  constexpr int w = 13, h = 7;
  struct Map {
    const char* what;
    int (*column)(int, int);
    int (*row)(int, int);
  } maps[] = {
      {"identity", [](int x, int) { return x; }, [](int, int y) { return y; }},
      {"mirror", [](int x, int) { return w - 1 - x; }, [](int, int y) { return y; }},
      {"outside", [](int, int) { return -1; }, [](int, int) { return -1; }},
      {"scattered", [](int x, int y) { return (7 * x + 3 * y) % (w + 4) - 2; },
       [](int x, int y) { return (x + 5 * y) % (h + 4) - 2; }},
  };
  for (int bpp : {1, 4, 8, 24, 32})
    for (const Map& map : maps) {
      CLamina img = Random(bpp, w, h, ++seed);
      CLamina src = img;
      const std::uint32_t outside = bpp <= 8 ? (1u << bpp) - 1 : 0;
      CLamina expected = Drawn(img, w, h, [&](int x, int y) {
        const int sx = map.column(x, y), sy = map.row(x, y);
        return src.fnIMG_IsInside(sx, sy) ? src.fnIMG_GetPixel(sx, sy) : outside;
      });
      const void* block = img.fnIMG_GetPointers().lpDib;
      EXPECT_TRUE(img.transformation(map.column, map.row));
      EXPECT_EQ(Snap(img), Snap(expected)) << bpp << " bits, " << map.what;
      EXPECT_EQ(img.fnIMG_GetPointers().lpDib, block);
    }
}

// The column function is asked before the row function, pixel by pixel in row order; a 16-bit
// image is asked the same and keeps its pixels; empty functions throw only when asked, and any
// exception leaves the pixels as they were.
TEST(Transformation, AsksInRowOrderAndLeavesTheImageOnExceptions) {
  std::string calls;
  auto column = [&](int x, int y) {
    calls += "x" + std::to_string(x + 2 * y);
    return x;
  };
  auto row = [&](int x, int y) {
    calls += "y" + std::to_string(x + 2 * y);
    return y;
  };
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  CLamina sixteen = Sixteen({{1, 2}, {3, 4}});
  const Snapshot before = Snap(img), before16 = Snap(sixteen);
  EXPECT_TRUE(img.transformation(column, row));
  EXPECT_TRUE(sixteen.transformation(column, row));
  EXPECT_EQ(calls, "x0y0x1y1x2y2x3y3x0y0x1y1x2y2x3y3");
  EXPECT_EQ(Snap(sixteen), before16);
  EXPECT_THROW(img.transformation(Coordinate(), row), std::bad_function_call);
  EXPECT_THROW(img.transformation(column, Coordinate()), std::bad_function_call);
  auto failing = [](int x, int y) {
    if (y == 1) throw std::runtime_error("stop");
    return x;
  };
  EXPECT_THROW(img.transformation(failing, row), std::runtime_error);
  EXPECT_EQ(Snap(img), before);
  EXPECT_THROW(img.mapBitmap(std::function<RGBQUAD(int, int)>()), std::bad_function_call);
  CLamina empty(nullptr, nullptr, 0, 5, 8);
  EXPECT_TRUE(empty.transformation(Coordinate(), Coordinate()));
  empty.mapBitmap(std::function<RGBQUAD(int, int)>());
}

TEST(MapBitmap, WritesTheRedByteAsIndexAndColoursKeepingTheRest) {
  // At 8 bits the red byte is the index whatever blue and green are, at 4 bits cut to the
  // nibble; at 24 and 32 bits blue, green and red are written. Fourth bytes and padding stay; a
  // 16-bit image is asked for every pixel and changes nothing.
  for (int bpp : {4, 8, 24, 32, 16}) {
    CLamina img = bpp == 16 ? Sixteen({{1, 2, 3}, {4, 5, 6}}) : Marked(bpp, {{0, 0, 0}, {0, 0, 0}});
    const Snapshot before = Snap(img);
    int asked = 0;
    img.mapBitmap([&](int x, int y) {
      ++asked;
      return Quad(9, 9, 0xF7 + x + 2 * y);
    });
    EXPECT_EQ(asked, 6);
    if (bpp == 16) {
      EXPECT_EQ(Snap(img), before);
      continue;
    }
    const Rows eight{{0xF7, 0xF8, 0xF9}, {0xF9, 0xFA, 0xFB}};
    const Rows four{{7, 8, 9}, {9, 10, 11}};
    const Rows colour{{Rgb(0xF7, 9, 9), Rgb(0xF8, 9, 9), Rgb(0xF9, 9, 9)},
                      {Rgb(0xF9, 9, 9), Rgb(0xFA, 9, 9), Rgb(0xFB, 9, 9)}};
    EXPECT_EQ(PixelsOf(img), bpp == 4 ? four : bpp == 8 ? eight : colour) << bpp;
    EXPECT_TRUE(AlphaKept(img) && PaddingKept(img)) << bpp;
  }
}

}  // namespace
