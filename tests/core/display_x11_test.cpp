// The monitor report and drawing against real X servers: the virtual servers of known geometry
// that scripts/xvfb.sh starts (scripts/test.sh runs the tests under it). Skipped where the library
// has no X11 or no such server runs.
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/display.h"
#include "support/pictures.h"

#if defined(LAMINA_HAVE_X11)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#if defined(LAMINA_HAVE_XRANDR)
#include <X11/extensions/Xrandr.h>
#endif

#include "lamina/cdc_x11.h"
#endif

using namespace lamina_test;

#if !defined(LAMINA_HAVE_X11)

TEST(X11Display, NeedsTheLibraryBuiltWithX11) {
  GTEST_SKIP() << "the library was built without X11";
}

#else

namespace {

std::vector<int> Fields(const CLamina::InfoMonitorestag& r) {
  return {r.nMonitores,        r.nPulgadas1,        r.nPulgadas2,       r.nResolucionX1,
          r.nResolucionY1,     r.nResolucionX2,     r.nResolucionY2,    r.nTamanoX1,
          r.nTamanoY1,         r.nTamanoX2,         r.nTamanoY2,        r.nPixelesPulgadaX1,
          r.nPixelesPulgadaY1, r.nPixelesPulgadaX2, r.nPixelesPulgadaY2};
}

// A connection to the server that the variable names (one scripts/xvfb.sh started).
struct Server {
  Display* display = nullptr;
  std::string name;
  explicit Server(const char* variable) {
    const char* n = std::getenv(variable);
    if (n == nullptr || *n == '\0') return;
    name = n;
    display = XOpenDisplay(n);
  }
  ~Server() {
    if (display != nullptr) XCloseDisplay(display);
  }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;
};

#define REQUIRE_SERVER(server, variable) \
  Server server(variable);               \
  if ((server).display == nullptr)       \
  GTEST_SKIP() << "no X server in " variable " (scripts/xvfb.sh starts one); skipped"

// A mapped window of the given size and background pixel, exposed and ready to draw on.
Window ExposedWindow(Display* d, int width, int height, unsigned long background) {
  const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height), 0, 0, background);
  XSelectInput(d, w, ExposureMask);
  XMapWindow(d, w);
  XEvent e;
  XWindowEvent(d, w, ExposureMask, &e);
  return w;
}

// The pixel value a TrueColor visual stores for a colour: each channel's top bits in its mask.
unsigned long VisualPixel(const Visual* v, const RGBQUAD& c) {
  auto place = [](unsigned value, unsigned long mask) {
    int shift = 0, bits = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    while (((mask >> (shift + bits)) & 1u) != 0) ++bits;
    return static_cast<unsigned long>(value >> (8 - bits)) << shift;
  };
  return place(c.rgbRed, v->red_mask) | place(c.rgbGreen, v->green_mask) |
         place(c.rgbBlue, v->blue_mask);
}

}  // namespace

TEST(X11Display, MonitorReportAndLengthsInPixelsGiveTheScreensNumbers) {
  REQUIRE_SERVER(server, "LAMINA_TEST_DISPLAY");
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || server.name != display)
    GTEST_SKIP() << "DISPLAY does not name the test server";
  // scripts/xvfb.sh: one monitor of 1600 x 1200 pixels at 120 dpi, which the server makes
  // 339 x 254 mm (a 17-inch diagonal by the report's formula).
  CLamina img = FromRows(8, {{1, 2}});
  EXPECT_EQ(Fields(img.fnIMG_GetMonitorsInfo()),
            (std::vector<int>{1, 17, 0, 1600, 1200, 0, 0, 339, 254, 0, 0, 120, 120, 0, 0}));

  // Lengths become pixels of that screen, 33 x 25 whole centimetres: 5 cm to the right is
  // 1600 x 5 / 33 pixels, and 50 cm is 1600 x 50 / 33 across and 1200 x 50 / 25 down.
  CLamina::InfoDesplazamientotag info{};
  ASSERT_EQ(img.fnIMG_Translation(0, 10, 30.0f, 90.0f, 0, &info), 0);
  EXPECT_EQ(info.nPixelesX, 242);
  EXPECT_EQ(img.fnIMG_GetColumns(), 244);
  ASSERT_EQ(img.fnIMG_CalcularDesplazamientos(100, 30.0f, 0, &info), 0);
  EXPECT_EQ(info.nPixelesX, 2424);
  EXPECT_EQ(info.nPixelesY, 2400);
}

#if defined(LAMINA_HAVE_XRANDR)
TEST(X11Display, SecondMonitorIsTheOneNearestToThePointRightOfThePrimary) {
  REQUIRE_SERVER(server, "LAMINA_TEST_DISPLAY_WIDE");
  Display* d = server.display;
  const Window root = DefaultRootWindow(d);
  XRRScreenResources* res = XRRGetScreenResources(d, root);
  ASSERT_NE(res, nullptr);
  ASSERT_GE(res->noutput, 1);
  const RROutput output = res->outputs[0];
  XRRFreeScreenResources(res);
  // Two monitors of 1600 x 1200 (400 x 300 mm, holding the screen's output) and 1280 x 1024
  // (340 x 270 mm), the primary at x = primaryAt, the other at x = otherAt. They live while this
  // connection does.
  auto report = [&](int primaryAt, int otherAt) {
    const int place[2][5] = {{primaryAt, 1600, 1200, 400, 300}, {otherAt, 1280, 1024, 340, 270}};
    const Atom names[2] = {XInternAtom(d, "PRIMARY", False), XInternAtom(d, "OTHER", False)};
    for (int i = 0; i < 2; ++i) {
      XRRMonitorInfo* m = XRRAllocateMonitor(d, i == 0 ? 1 : 0);
      m->name = names[i];
      m->primary = i == 0;
      m->x = place[i][0];
      m->y = 0;
      m->width = place[i][1];
      m->height = place[i][2];
      m->mwidth = place[i][3];
      m->mheight = place[i][4];
      if (i == 0) m->outputs[0] = output;
      XRRSetMonitor(d, root, m);
      XRRFreeMonitors(m);
    }
    XSync(d, False);
    const CLamina::InfoMonitorestag r =
        lamina::display::Report(lamina::platform::ReadDisplay(server.name.c_str()));
    for (Atom name : names) XRRDeleteMonitor(d, root, name);
    XSync(d, False);
    return Fields(r);
  };
  EXPECT_EQ(report(0, 1600), (std::vector<int>{2, 20, 18, 1600, 1200, 1280, 1024, 400, 300, 340,
                                               270, 120, 120, 120, 120}));
  // The primary on the right: the point 500 pixels past its right edge is nearest to itself.
  EXPECT_EQ(report(1280, 0), (std::vector<int>{2, 20, 20, 1600, 1200, 1600, 1200, 400, 300, 400,
                                               300, 120, 120, 120, 120}));
}
#endif

TEST(X11Display, DrawingIntoAWindowShowsTheImageClipped) {
  // The 24-bit server takes the pixels as they are; the 16-bit one (5-6-5) has them moved into
  // its masks.
  int servers = 0;
  for (const char* variable : {"LAMINA_TEST_DISPLAY", "LAMINA_TEST_DISPLAY_WIDE"}) {
    Server server(variable);
    if (server.display == nullptr) continue;
    ++servers;
    Display* d = server.display;
    const Visual* visual = DefaultVisual(d, DefaultScreen(d));
    const unsigned long background = VisualPixel(visual, Quad(0x56, 0x34, 0x12));
    for (int bpp : {1, 8, 24, 32}) {
      const int width = 40, height = 30, x0 = 31, y0 = 25;
      const Window w = ExposedWindow(d, width, height, background);
      CLamina img = Random(bpp, 13, 7, 5u * bpp);
      {
        CX11DC dc(d, w);
        EXPECT_EQ(img.fnIMG_Draw(&dc, x0, y0), 0);
        EXPECT_EQ(img.fnIMG_Draw(&dc, width, 0), 1);
      }
      XImage* shot = XGetImage(d, w, 0, 0, width, height, AllPlanes, ZPixmap);
      ASSERT_NE(shot, nullptr);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          const bool covered = img.fnIMG_IsInside(x - x0, y - y0);
          const unsigned long want =
              covered ? VisualPixel(visual, Colour(img, x - x0, y - y0)) : background;
          ASSERT_EQ(XGetPixel(shot, x, y), want)
              << variable << " " << bpp << " at " << x << "," << y;
        }
      XDestroyImage(shot);
      XDestroyWindow(d, w);
    }
  }
  if (servers == 0) GTEST_SKIP() << "no X server in LAMINA_TEST_DISPLAY(_WIDE) (scripts/xvfb.sh)";
}

#endif
