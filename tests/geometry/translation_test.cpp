// fnIMG_Translation by pixels and by a length, fnIMG_CalcularDesplazamientos, fnIMG_TransfPixel.
#include "geometry/translation.h"

#include <climits>
#include <cmath>
#include <limits>

#include "support/pictures.h"

using namespace lamina_test;
using lamina::platform::DisplayFacts;
using lamina::platform::MonitorArea;
using Info = CLamina::InfoDesplazamientotag;

namespace {

// The described procedure, pixel by pixel through the public accessors: a new image of the result
// size with the image's palette, every pixel the background, then every source pixel at its place.
void ReferenceTranslation(CLamina& img, int mode, int dx, int dy, unsigned long background) {
  const int bpp = img.fnIMG_GetColorDepth(), w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  std::vector<RGBQUAD> palette(256);
  if (bpp <= 8) img.fnIMG_GetPalette(palette.data());
  const int width = mode == 0 ? w + std::abs(dx) : w, height = mode == 0 ? h + std::abs(dy) : h;
  CLamina out(nullptr, bpp <= 8 ? palette.data() : nullptr, width, height, bpp);
  const RGBQUAD quad = img.fnIMG_RGBToRGBQUAD(background);
  const int index = bpp <= 8 ? img.fnIMG_GetPaletteIndex(quad) : 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bpp <= 8 ? out.fnIMG_SetPixel(x, y, static_cast<unsigned>(index))
               : out.fnIMG_SetRGBPixel(x, y, quad);
  const int ox = mode == 0 ? std::max(dx, 0) : dx, oy = mode == 0 ? std::max(dy, 0) : dy;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.fnIMG_SetPixel(x + ox, y + oy, img.fnIMG_GetPixel(x, y));
  out.fnIMG_SetFileName(lamina::BlockAccess::Name(img));
  img = out;
}

DisplayFacts Facts(std::vector<MonitorArea> monitors) {
  DisplayFacts f;
  f.count = static_cast<int>(monitors.size());
  for (std::size_t i = 0; i < monitors.size(); ++i) f.monitors[i] = monitors[i];
  f.pixelsPerInchX = f.pixelsPerInchY = 96;
  return f;
}

const MonitorArea kPrimary{0, 0, 1920, 1080, 531, 300};   // 53 x 30 whole centimetres
const MonitorArea kRight{1920, 0, 1280, 1024, 338, 270};  // 33 x 27

// A record whose fields a call must either write or leave as they are.
Info Sentinel() { return Info{-1.0f, -2.0f, -3.0f, -4.0f, -5, -6}; }
bool SameRecord(const Info& a, const Info& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Exposed : CLamina {
  using CLamina::fnIMG_TransfPixel;
};

}  // namespace

TEST(Translation, MovesThePictureAndFillsTheUncoveredBand) {
  // Gray ramp palette: the background 0x090909 is index 9.
  const Rows picture = {{1, 2, 3}, {4, 5, 6}};
  struct Case {
    const char* what;
    int mode, dx, dy;
    Rows want;
  } cases[] = {
      {"nothing, enlarging", 0, 0, 0, picture},
      {"nothing, in the frame", 1, 0, 0, picture},
      {"left, enlarging", 0, -2, 0, {{1, 2, 3, 9, 9}, {4, 5, 6, 9, 9}}},
      {"right and up, enlarging", 0, 2, -1, {{9, 9, 1, 2, 3}, {9, 9, 4, 5, 6}, {9, 9, 9, 9, 9}}},
      {"right and down, in the frame", 1, 1, 1, {{9, 9, 9}, {9, 1, 2}}},
      {"left and up, in the frame", 1, -2, -1, {{6, 9, 9}, {9, 9, 9}}},
      {"out of the frame", 1, 3, 0, {{9, 9, 9}, {9, 9, 9}}},
      {"far out of the frame", 1, INT_MIN, INT_MAX, {{9, 9, 9}, {9, 9, 9}}},
  };
  for (const Case& c : cases) {
    CLamina img = FromRows(8, picture);
    ASSERT_EQ(img.fnIMG_Translation(c.mode, c.dx, c.dy, 0x090909), 0) << c.what;
    EXPECT_EQ(PixelsOf(img), c.want) << c.what;
  }
}

TEST(Translation, MatchesThePixelByPixelProcedureAtEveryDepth) {
  // Random bytes everywhere (padding and fourth bytes too); backgrounds in and not in the palette.
  const int moves[][3] = {{0, 3, -2}, {0, -5, 4}, {1, 2, 3}, {1, -4, -1}, {1, -9, 0}, {0, 0, 0}};
  for (int bpp : {1, 4, 8, 24, 32})
    for (const auto& m : moves) {
      CLamina img = Random(bpp, 101, 5, 100u * bpp + 7u * m[1]);
      img.fnIMG_SetFileName(L"moved.bmp");
      RGBQUAD entry{};
      if (bpp <= 8) entry = Entry(img, 1);
      const unsigned long inPalette = entry.rgbRed | (entry.rgbGreen << 8) | (entry.rgbBlue << 16);
      for (unsigned long background : {inPalette, 0x123456ul, 0xFF000000ul}) {
        CLamina expected = img, got = img;
        ReferenceTranslation(expected, m[0], m[1], m[2], background);
        ASSERT_EQ(got.fnIMG_Translation(m[0], m[1], m[2], background), 0);
        ASSERT_EQ(Snap(got), Snap(expected))
            << bpp << " mode " << m[0] << " by " << m[1] << "," << m[2] << " on " << background;
      }
    }
}

TEST(TranslationByLength, TurnsTheComponentsIntoPixelsOfTheDisplayShownOn) {
  // Distance 10 at 30 degrees: 5 cm. Horizontal pixels 1920 x cm / 53, vertical 1080 x cm / 30.
  const DisplayFacts one = Facts({kPrimary}), two = Facts({kPrimary, kRight});
  struct Case {
    const char* what;
    const DisplayFacts& facts;
    float direction;
    float cmX, cmY;
    int pixelsX, pixelsY;
  } cases[] = {
      {"up", one, 0, 0, -5, 0, -180},
      {"right", one, 90, 5, 0, 181, 0},
      {"down", one, 180, 0, 5, 0, 180},
      {"left", one, 270, -5, 0, -181, 0},
      {"up again", one, 360, 0, -5, 0, -180},
      {"up and right", one, 45, 3.5355339f, -3.5355339f, 128, -127},
      // Two monitors: the one right of the primary (1280 pixels in 33 cm) shows the picture.
      {"right, second monitor", two, 90, 5, 0, 193, 0},
  };
  for (const Case& c : cases) {
    CLamina img = FromRows(8, {{1, 2}, {3, 4}});
    Info info = Sentinel();
    ASSERT_EQ(lamina::geometry::TranslationByLength(img, 0, 10, 30, c.direction, 0, &info, c.facts),
              0)
        << c.what;
    EXPECT_FLOAT_EQ(info.fDesplazamiento, 5.0f) << c.what;
    EXPECT_FLOAT_EQ(info.fDesplazamientoPulgadas, 1.9685039f) << c.what;
    EXPECT_FLOAT_EQ(info.fDesplazamientoX, c.cmX) << c.what;
    EXPECT_FLOAT_EQ(info.fDesplazamientoY, c.cmY) << c.what;
    EXPECT_EQ(info.nPixelesX, c.pixelsX) << c.what;
    EXPECT_EQ(info.nPixelesY, c.pixelsY) << c.what;
    EXPECT_EQ(img.fnIMG_GetColumns(), 2 + std::abs(c.pixelsX)) << c.what;
    EXPECT_EQ(img.fnIMG_GetRows(), 2 + std::abs(c.pixelsY)) << c.what;
  }
}

TEST(Translation, RefusalsLeaveRecordAndImageUntouched) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // 100000 pixels in 1 cm: long moves do not fit in an int.
  const DisplayFacts dense = Facts({{0, 0, 100000, 100000, 10, 10}});
  enum Op { kPixels, kLength, kCalcular };
  // kPixels: fnIMG_Translation(mode, distance, angle as dy, 0); kLength: the move by a length;
  // kCalcular: fnIMG_CalcularDesplazamientos(distance, angle, 0, record).
  struct Case {
    const char* what;
    Op op;
    int bpp, mode, distance;
    float angle, direction;
    bool record, failMemory;
    int want;
  } cases[] = {
      {"pixels: 16 bits", kPixels, 16, 0, 1, 1, 0, true, false, 1},
      {"pixels: mode 2", kPixels, 8, 2, 1, 1, 0, true, false, 2},
      {"pixels: negative mode", kPixels, 8, -1, 1, 1, 0, true, false, 2},
      {"pixels: wider than an int", kPixels, 8, 0, INT_MIN, 0, 0, true, false, 3},
      {"pixels: higher than an int", kPixels, 8, 0, 0, 2147483520.0f, 0, true, false, 3},
      {"pixels: block above 2 GiB", kPixels, 24, 0, 1000000000, 0, 0, true, false, 3},
      {"pixels: no memory", kPixels, 4, 1, 1, 1, 0, true, true, 4},
      {"length: 16 bits", kLength, 16, 0, 1, 10, 90, true, false, 1},
      {"length: mode 2", kLength, 8, 2, 1, 10, 90, true, false, 2},
      {"length: negative mode", kLength, 8, -1, 1, 10, 90, true, false, 2},
      {"length: angle below 0", kLength, 8, 0, 1, -0.5f, 90, true, false, 3},
      {"length: angle above 80", kLength, 8, 0, 1, 80.5f, 90, true, false, 3},
      {"length: angle not a number", kLength, 8, 0, 1, nan, 90, true, false, 3},
      {"length: angle infinite", kLength, 8, 0, 1, inf, 90, true, false, 3},
      {"length: direction below 0", kLength, 8, 0, 1, 10, -1, true, false, 4},
      {"length: direction above 360", kLength, 8, 0, 1, 10, 360.5f, true, false, 4},
      {"length: direction not a number", kLength, 8, 0, 1, 10, nan, true, false, 4},
      {"length: no record", kLength, 8, 0, 1, 10, 90, false, false, 5},
      {"length: pixels beyond an int", kLength, 8, 1, INT_MAX, 80, 90, true, false, 6},
      // About 1.97e9 pixels: an int, but not a 24-bit block.
      {"length: enlarged beyond a block", kLength, 24, 0, 20000, 80, 90, true, false, 6},
      {"length: no memory", kLength, 8, 0, 10, 30, 90, true, true, 7},
      {"calcular: negative distance", kCalcular, 8, 0, -1, 10, 0, true, false, 1},
      {"calcular: angle above 60", kCalcular, 8, 0, 1, 60.5f, 0, true, false, 2},
      {"calcular: angle not a number", kCalcular, 8, 0, 1, nan, 0, true, false, 2},
      {"calcular: angle minus infinity", kCalcular, 8, 0, 1, -inf, 0, true, false, 2},
      {"calcular: no record", kCalcular, 8, 0, 1, 10, 0, false, false, 3},
      {"calcular: pixels beyond an int", kCalcular, 8, 0, INT_MAX, 60, 0, true, false, 4},
  };
  for (const Case& c : cases) {
    CLamina img = c.bpp == 16 ? Sixteen({{1, 2}}) : FromRows(c.bpp, {{1, 2}});
    const Snapshot before = Snap(img);
    Info info = Sentinel();
    Info* record = c.record ? &info : nullptr;
    int got;
    {
      FailingAllocations fail(c.failMemory ? 0 : -1);
      if (c.op == kPixels)
        got = img.fnIMG_Translation(c.mode, c.distance, static_cast<int>(c.angle), 0);
      else if (c.op == kLength)
        got = lamina::geometry::TranslationByLength(img, c.mode, c.distance, c.angle, c.direction,
                                                    0, record, dense);
      else
        got = lamina::geometry::CalcularDesplazamientos(c.distance, c.angle, 0, record, dense);
    }
    EXPECT_EQ(got, c.want) << c.what;
    EXPECT_EQ(Snap(img), before) << c.what;
    EXPECT_TRUE(SameRecord(info, Sentinel())) << c.what;
  }
}

TEST(CalcularDesplazamientos, ConvertsForTheChosenMonitor) {
  struct Case {
    const char* what;
    DisplayFacts facts;
    int distance;
    float angle;
    int monitor;
    float cm, inches;
    int pixelsX, pixelsY;  // -5, -6: left as they were
  } cases[] = {
      // 50 cm: 1920 x 50 / 53 and 1080 x 50 / 30.
      {"first monitor", Facts({kPrimary}), 100, 30, 0, 50, 19.685039f, 1811, 1800},
      {"angle 0", Facts({kPrimary}), 100, 0, 0, 0, 0, 0, 0},
      {"up to 60 degrees", Facts({kPrimary}), 2, 60, 0, 1.7320508f, 0.6819098f, 62, 62},
      {"second of one", Facts({kPrimary}), 100, 30, 1, 50, 19.685039f, -5, -6},
      {"second of two", Facts({kPrimary, kRight}), 100, 30, 1, 50, 19.685039f, 1939, 1896},
      {"negative monitor", Facts({kPrimary, kRight}), 100, 30, -1, 50, 19.685039f, -5, -6},
      // Less than a whole centimetre reported: no pixels rather than a division by zero.
      {"size under 1 cm", Facts({{0, 0, 1920, 1080, 9, 0}}), 100, 30, 0, 50, 19.685039f, 0, 0},
  };
  for (const Case& c : cases) {
    Info info = Sentinel();
    ASSERT_EQ(
        lamina::geometry::CalcularDesplazamientos(c.distance, c.angle, c.monitor, &info, c.facts),
        0)
        << c.what;
    EXPECT_FLOAT_EQ(info.fDesplazamiento, c.cm) << c.what;
    EXPECT_FLOAT_EQ(info.fDesplazamientoPulgadas, c.inches) << c.what;
    EXPECT_EQ(info.fDesplazamientoX, -3.0f) << c.what;
    EXPECT_EQ(info.fDesplazamientoY, -4.0f) << c.what;
    EXPECT_EQ(info.nPixelesX, c.pixelsX) << c.what;
    EXPECT_EQ(info.nPixelesY, c.pixelsY) << c.what;
  }
}

TEST(TransfPixel, PushesADiscPointOutToTheSquare) {
  struct Case {
    float u, v, wantU, wantV;
  } cases[] = {
      {1, 1, 1.4142135f, 1.4142135f},
      {3, 0, 3, 0},
      {0, 0, 0, 0},
      {-2, 1, -2.2360680f, 1.1180340f},
      {0.5f, -2, 0.5153882f, -2.0615528f},
      {0, -4, 0, -4},
  };
  Exposed img;
  for (const Case& c : cases) {
    float u = -9, v = -9;
    EXPECT_EQ(img.fnIMG_TransfPixel(c.u, c.v, u, v), 1);
    EXPECT_FLOAT_EQ(u, c.wantU) << c.u << "," << c.v;
    EXPECT_FLOAT_EQ(v, c.wantV) << c.u << "," << c.v;
  }
}
