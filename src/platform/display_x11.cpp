// Monitor facts from an X server.
//
// Monitors come from XRandR 1.5 (the active monitors, primary first); without it the whole screen
// is the one monitor. Sizes in millimetres: with one monitor, the screen's own size as the server
// reports it (what its configured density, such as Xvfb's -dpi or an xorg.conf DisplaySize, makes
// it), scaled to the monitor's part of the screen; with several, each monitor's own size as XRandR
// gives it (from the monitor's description), or its share of the screen's size where that is 0.
// Logical pixels per inch: the desktop's Xft.dpi setting when there is one, else the screen's
// density rounded, and 96 for a screen that reports no size.
#include <X11/Xlib.h>
#if defined(LAMINA_HAVE_XRANDR)
#include <X11/extensions/Xrandr.h>
#endif

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/display.h"

namespace lamina {
namespace platform {

namespace {

// Xlib keeps extension records in process-wide lists that it guards only after XInitThreads, which
// a library cannot rely on its host to have called; our own connections are opened one at a time.
std::mutex& XlibGuard() {
  static std::mutex m;
  return m;
}

// px x mm / screenPx, rounded: a part of the screen's millimetres.
int Share(int px, int screenPx, int screenMM) {
  if (screenPx <= 0 || screenMM <= 0 || px <= 0) return 0;
  const std::int64_t num = std::int64_t{px} * screenMM;
  return static_cast<int>((2 * num + screenPx) / (2 * std::int64_t{screenPx}));
}

int Density(int px, int mm) {
  if (px <= 0 || mm <= 0) return 96;
  return static_cast<int>(std::floor(px * 25.4 / mm + 0.5));
}

// The value of "Xft.dpi:" in the server's resource string, or 0.
int XftDpi(Display* display) {
  const char* rm = XResourceManagerString(display);
  if (rm == nullptr) return 0;
  static const char kKey[] = "Xft.dpi:";
  for (const char* line = rm; *line != '\0';) {
    if (std::strncmp(line, kKey, sizeof kKey - 1) == 0) {
      const double dpi = std::strtod(line + sizeof kKey - 1, nullptr);
      return dpi >= 1 && dpi <= 10000 ? static_cast<int>(std::floor(dpi + 0.5)) : 0;
    }
    const char* next = std::strchr(line, '\n');
    if (next == nullptr) break;
    line = next + 1;
  }
  return 0;
}

#if defined(LAMINA_HAVE_XRANDR)
void ReadMonitors(Display* display, Window root, DisplayFacts* f) {
  int event, error, major = 0, minor = 0;
  if (!XRRQueryExtension(display, &event, &error) || !XRRQueryVersion(display, &major, &minor) ||
      major * 100 + minor < 105)
    return;
  int n = 0;
  XRRMonitorInfo* list = XRRGetMonitors(display, root, True, &n);
  if (list == nullptr) return;
  // The primary monitor first: the one flagged so, else the one at the screen's origin, else the
  // first listed; the others keep the server's order.
  int primary = 0;
  for (int i = 0; i < n; ++i)
    if (list[i].primary) {
      primary = i;
      break;
    }
  if (n > 0 && !list[primary].primary)
    for (int i = 0; i < n; ++i)
      if (list[i].x == 0 && list[i].y == 0) {
        primary = i;
        break;
      }
  f->count = n;
  int out = 0;
  for (int k = -1; k < n && out < DisplayFacts::kMaxMonitors; ++k) {
    const int i = k < 0 ? primary : k;
    if (k >= 0 && k == primary) continue;
    const XRRMonitorInfo& m = list[i];
    f->monitors[out++] = MonitorArea{m.x, m.y, m.width, m.height, m.mwidth, m.mheight};
  }
  XRRFreeMonitors(list);
}
#endif

}  // namespace

bool ReadX11Display(const char* name, DisplayFacts* facts) {
  std::lock_guard<std::mutex> lock(XlibGuard());
  Display* display = XOpenDisplay(name);
  if (display == nullptr) return false;
  const int screen = DefaultScreen(display);
  const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
  const int widthMM = DisplayWidthMM(display, screen), heightMM = DisplayHeightMM(display, screen);
  DisplayFacts f;
#if defined(LAMINA_HAVE_XRANDR)
  ReadMonitors(display, RootWindow(display, screen), &f);
#endif
  if (f.count <= 0) {
    f.count = 1;
    f.monitors[0] = MonitorArea{0, 0, width, height, widthMM, heightMM};
  }
  const int listed = f.count < DisplayFacts::kMaxMonitors ? f.count : DisplayFacts::kMaxMonitors;
  for (int i = 0; i < listed; ++i) {
    MonitorArea& m = f.monitors[i];
    if (f.count == 1 || m.widthMM <= 0) m.widthMM = Share(m.width, width, widthMM);
    if (f.count == 1 || m.heightMM <= 0) m.heightMM = Share(m.height, height, heightMM);
  }
  const int xft = XftDpi(display);
  f.pixelsPerInchX = xft > 0 ? xft : Density(width, widthMM);
  f.pixelsPerInchY = xft > 0 ? xft : Density(height, heightMM);
  XCloseDisplay(display);
  *facts = f;
  return true;
}

}  // namespace platform
}  // namespace lamina
