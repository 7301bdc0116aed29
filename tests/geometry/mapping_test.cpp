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

TEST(Transformation, AsksColumnThenRowForEachPixelInRowOrder) {
  std::vector<std::string> calls;
  auto column = [&](int x, int y) {
    calls.push_back("x" + std::to_string(x) + std::to_string(y));
    return x;
  };
  auto row = [&](int x, int y) {
    calls.push_back("y" + std::to_string(x) + std::to_string(y));
    return y;
  };
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  EXPECT_TRUE(img.transformation(column, row));
  EXPECT_EQ(calls,
            (std::vector<std::string>{"x00", "y00", "x10", "y10", "x01", "y01", "x11", "y11"}));
  // A 16-bit image is asked the same, and keeps its pixels.
  calls.clear();
  CLamina sixteen = Sixteen({{1, 2}, {3, 4}});
  const Snapshot before = Snap(sixteen);
  EXPECT_TRUE(sixteen.transformation(column, row));
  EXPECT_EQ(calls.size(), 8u);
  EXPECT_EQ(Snap(sixteen), before);
}

TEST(Transformation, EmptyFunctionsThrowOnlyWhenAskedAndLeaveTheImage) {
  CLamina img = FromRows(8, {{1, 2}, {3, 4}});
  const Snapshot before = Snap(img);
  EXPECT_THROW(img.transformation(Coordinate(), [](int, int y) { return y; }),
               std::bad_function_call);
  EXPECT_THROW(img.transformation([](int x, int) { return x; }, Coordinate()),
               std::bad_function_call);
  // A function that fails half-way leaves the pixels as they were.
  EXPECT_THROW(img.transformation(
                   [](int x, int y) {
                     if (y == 1) throw std::runtime_error("stop");
                     return x;
                   },
                   [](int, int y) { return y; }),
               std::runtime_error);
  EXPECT_EQ(Snap(img), before);
  EXPECT_THROW(img.mapBitmap(std::function<RGBQUAD(int, int)>()), std::bad_function_call);
  CLamina empty(nullptr, nullptr, 0, 5, 8);
  EXPECT_TRUE(empty.transformation(Coordinate(), Coordinate()));
  empty.mapBitmap(std::function<RGBQUAD(int, int)>());
}

TEST(MapBitmap, WritesTheRedByteAsIndexAndColoursKeepingTheRest) {
  // At 8 bits the red byte is the index whatever blue and green are; at 4 bits it is cut to the
  // nibble. At 24 and 32 bits blue, green and red are written, the fourth byte and padding stay.
  auto colour = [](int x, int y) { return Quad(9, 9, 7 + x + 2 * y); };
  for (int bpp : {4, 8}) {
    CLamina img = Marked(bpp, {{0, 0, 0}, {0, 0, 0}});
    img.mapBitmap(
        [&](int x, int y) { return bpp == 4 ? Quad(0, 0, 0xF0 | (x + 2 * y)) : colour(x, y); });
    EXPECT_EQ(PixelsOf(img),
              bpp == 4 ? (Rows{{0, 1, 2}, {2, 3, 4}}) : (Rows{{7, 8, 9}, {9, 10, 11}}));
    EXPECT_TRUE(PaddingKept(img));
  }
  for (int bpp : {24, 32}) {
    CLamina img = Marked(bpp, {{0, 0, 0}, {0, 0, 0}});
    img.mapBitmap(colour);
    EXPECT_EQ(PixelsOf(img), (Rows{{Rgb(7, 9, 9), Rgb(8, 9, 9), Rgb(9, 9, 9)},
                                   {Rgb(9, 9, 9), Rgb(10, 9, 9), Rgb(11, 9, 9)}}));
    EXPECT_TRUE(AlphaKept(img) && PaddingKept(img)) << bpp;
  }
  // A 16-bit image is asked for every pixel and changes nothing.
  CLamina sixteen = Sixteen({{1, 2}, {3, 4}});
  const Snapshot before = Snap(sixteen);
  int asked = 0;
  sixteen.mapBitmap([&](int, int) {
    ++asked;
    return Quad(1, 2, 3);
  });
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(Snap(sixteen), before);
}

}  // namespace
