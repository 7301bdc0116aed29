// fnIMG_Draw into memory surfaces, the bitmap blit's band and source rectangle, and the monitor
// report built from monitor facts.
#include "core/display.h"

#include <climits>

#include "lamina/cdc.h"
#include "support/pictures.h"

using namespace lamina_test;
using lamina::platform::DisplayFacts;
using lamina::platform::MonitorArea;

namespace {

constexpr COLORREF kBackground = 0x00ABCDEF;

COLORREF Ref(const RGBQUAD& c) { return c.rgbRed | (c.rgbGreen << 8) | (c.rgbBlue << 16); }

// Every surface pixel is the image's colour where the image, placed at (x0, y0), covers it, and
// the background elsewhere. The colours are read with fnIMG_GetRGBPixel.
void ExpectDrawnAt(CLamina& img, const CMemoryDC& dc, int x0, int y0) {
  for (int y = 0; y < dc.GetHeight(); ++y)
    for (int x = 0; x < dc.GetWidth(); ++x) {
      const bool covered = img.fnIMG_IsInside(x - x0, y - y0);
      const COLORREF want = covered ? Ref(Colour(img, x - x0, y - y0)) : kBackground;
      ASSERT_EQ(dc.GetPixel(x, y), want) << "surface pixel " << x << "," << y;
    }
}

}  // namespace

TEST(Draw, EveryDepthRightWayUpClippedAtEveryEdge) {
  // A 9 x 7 surface. Odd widths put the last pixel mid-byte at 1 and 4 bits; every stored byte is
  // random, padding and 32-bit fourth bytes included.
  struct Case {
    int width, height, x, y, result;
  } cases[] = {
      {5, 3, 2, 2, 0},    {10, 6, -4, 1, 0},
      {10, 6, 2, -3, 0},  {10, 6, 6, 2, 0},  // inside; partly
      {10, 6, 1, 5, 0},   {10, 6, -9, -5, 0},
      {10, 6, 6, 5, 0},   {13, 11, -2, -2, 0},  // over every edge
      {10, 6, -10, 1, 1}, {10, 6, 2, -6, 1},
      {10, 6, 9, 1, 1},   {10, 6, 1, 7, 1},  // outside
  };
  for (int bpp : {1, 4, 8, 24, 32})
    for (const Case& c : cases) {
      CLamina img = Random(bpp, c.width, c.height, 7u * bpp + c.x);
      CMemoryDC dc(9, 7, kBackground);
      ASSERT_EQ(img.fnIMG_Draw(&dc, c.x, c.y), c.result) << bpp << " at " << c.x << "," << c.y;
      ExpectDrawnAt(img, dc, c.x, c.y);
    }
}

TEST(Draw, PaletteIndicesBeyondAShortPaletteAndSixteenBitPixels) {
  CLamina shortPal = WithShortPalette(8, 3, 1, {Quad(10, 20, 30), Quad(40, 50, 60)});
  RowBytes(shortPal, 0)[0] = 1;
  RowBytes(shortPal, 0)[1] = 2;  // no entry: black
  RowBytes(shortPal, 0)[2] = 255;
  CMemoryDC dc(3, 1, kBackground);
  ASSERT_EQ(shortPal.fnIMG_Draw(&dc, 0, 0), 0);
  EXPECT_EQ(dc.GetPixel(0, 0), Ref(Quad(40, 50, 60)));
  EXPECT_EQ(dc.GetPixel(1, 0), 0u);
  EXPECT_EQ(dc.GetPixel(2, 0), 0u);

  // 5-5-5 pixels (blue in the low bits), each channel widened so that 31 becomes 255.
  CLamina sixteen = Sixteen({{0x7FFF, 0x001F, 0x03E0}, {0x7C00, 0x0421, 0x8000}});
  CMemoryDC dc16(3, 2, kBackground);
  ASSERT_EQ(sixteen.fnIMG_Draw(&dc16, 0, 0), 0);
  const COLORREF want[2][3] = {{0xFFFFFF, 0xFF0000, 0x00FF00}, {0x0000FF, 0x080808, 0x000000}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(dc16.GetPixel(x, y), want[y][x]) << x << "," << y;
}

TEST(Draw, DrawsNothingWithoutImageOrSurface) {
  CLamina img = FromRows(8, {{1, 2}});
  CLamina none(nullptr, nullptr, 4, 4, 16);  // an object without an image
  CMemoryDC dc(4, 4, kBackground), empty(0, 5);
  CDC detached;
  EXPECT_EQ(img.fnIMG_Draw(nullptr, 0, 0), 1);
  EXPECT_EQ(img.fnIMG_Draw(&detached, 0, 0), 1);
  EXPECT_EQ(img.fnIMG_Draw(&empty, 0, 0), 1);
  EXPECT_EQ(none.fnIMG_Draw(&dc, 0, 0), 1);
  EXPECT_EQ(img.fnIMG_Draw(&dc, INT_MAX, INT_MIN), 1);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(dc.GetPixel(x, y), kBackground);
}

TEST(Draw, BlitTakesABandOfRowsAndASourceRectangle) {
  CLamina img = FromRows(8, {{0, 1, 2, 3}, {10, 11, 12, 13}, {20, 21, 22, 23}, {30, 31, 32, 33}});
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  // The gray levels on a 4 x 4 surface whose background is level 99.
  auto draw = [&](int xSrc, DWORD w, DWORD h, UINT start, UINT lines, UINT use, int drawn) {
    CMemoryDC dc(4, 4, 0x636363);
    EXPECT_EQ(SetDIBitsToDevice(dc.GetSafeHdc(), 0, 0, w, h, xSrc, 0, start, lines,
                                p.lpBits + 4 * start, p.lpbmi, use),
              drawn);
    Rows levels(4, std::vector<std::uint32_t>(4));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) levels[y][x] = dc.GetPixel(x, y) & 0xFF;
    return levels;
  };
  const std::vector<std::uint32_t> none = {99, 99, 99, 99};
  // Only bitmap rows 1 and 2 (from the bottom) are given: the top and bottom rows stay background.
  EXPECT_EQ(draw(0, 4, 4, 1, 2, DIB_RGB_COLORS, 2),
            (Rows{none, {10, 11, 12, 13}, {20, 21, 22, 23}, none}));
  // The lower-right 2 x 2 corner (columns 2-3, bitmap rows 0-1) at the top left.
  EXPECT_EQ(draw(2, 2, 2, 0, 4, DIB_RGB_COLORS, 2),
            (Rows{{22, 23, 99, 99}, {32, 33, 99, 99}, none, none}));
  EXPECT_EQ(draw(0, 4, 4, 0, 4, DIB_PAL_COLORS, 0), (Rows{none, none, none, none}));
}

TEST(MonitorReport, PrimaryAndTheMonitorNearestToThePointRightOfIt) {
  auto facts = [](std::vector<MonitorArea> monitors) {
    DisplayFacts f;
    f.count = static_cast<int>(monitors.size());
    for (std::size_t i = 0; i < monitors.size(); ++i) f.monitors[i] = monitors[i];
    f.pixelsPerInchX = 96;
    f.pixelsPerInchY = 120;
    return f;
  };
  const MonitorArea primary{0, 0, 1920, 1080, 477, 268};
  struct Case {
    const char* what;
    DisplayFacts facts;
    std::vector<int> want;  // the fifteen fields in order
  } cases[] = {
      {"one monitor",
       facts({primary}),
       {1, 22, 0, 1920, 1080, 0, 0, 477, 268, 0, 0, 96, 120, 0, 0}},
      {"second to the right",
       facts({primary, {1920, -200, 1280, 1024, 376, 301}}),
       {2, 22, 19, 1920, 1080, 1280, 1024, 477, 268, 376, 301, 96, 120, 96, 120}},
      // The probe point (2420, 200) lies right of the primary, nearer to it than to the left one.
      {"second to the left",
       facts({primary, {-1280, 0, 1280, 1024, 376, 301}}),
       {2, 22, 22, 1920, 1080, 1920, 1080, 477, 268, 477, 268, 96, 120, 96, 120}},
      // Of three, the one holding the probe point, not the first listed after the primary.
      {"third holds the point",
       facts({primary, {0, 1080, 800, 600, 200, 150}, {1920, 0, 1024, 768, 300, 230}}),
       {3, 22, 15, 1920, 1080, 1024, 768, 477, 268, 300, 230, 96, 120, 96, 120}},
      // Laid out from a primary that is not at the virtual screen's origin.
      {"primary off the origin",
       facts({{1000, 500, 1920, 1080, 477, 268},
              {0, 0, 1000, 768, 300, 230},
              {2920, 500, 800, 600, 0, 0}}),
       {3, 22, 1, 1920, 1080, 800, 600, 477, 268, 0, 0, 96, 120, 96, 120}},
  };
  for (const Case& c : cases) {
    const CLamina::InfoMonitorestag r = lamina::display::Report(c.facts);
    const std::vector<int> got = {r.nMonitores,        r.nPulgadas1,        r.nPulgadas2,
                                  r.nResolucionX1,     r.nResolucionY1,     r.nResolucionX2,
                                  r.nResolucionY2,     r.nTamanoX1,         r.nTamanoY1,
                                  r.nTamanoX2,         r.nTamanoY2,         r.nPixelesPulgadaX1,
                                  r.nPixelesPulgadaY1, r.nPixelesPulgadaX2, r.nPixelesPulgadaY2};
    EXPECT_EQ(got, c.want) << c.what;
  }
}

TEST(MonitorReport, HeadlessDefaultWhenNoServerAnswers) {
  // No X server listens on display 4095; a library built without X11 gives the same.
  const CLamina::InfoMonitorestag r =
      lamina::display::Report(lamina::platform::ReadDisplay(":4095"));
  EXPECT_EQ(
      (std::vector<int>{r.nMonitores, r.nPulgadas1, r.nResolucionX1, r.nResolucionY1, r.nTamanoX1,
                        r.nTamanoY1, r.nPixelesPulgadaX1, r.nPixelesPulgadaY1, r.nResolucionX2}),
      (std::vector<int>{1, 23, 1920, 1080, 508, 286, 96, 96, 0}));
}
