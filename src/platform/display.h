// The facts about the monitors that the monitor report and the move by a physical length need:
// how many monitors there are, where each lies on the virtual screen, its size in pixels and in
// millimetres, and the system's logical pixels per inch.
//
// With X11 they come from the X server named by DISPLAY: the monitors from XRandR (1.5 or later),
// or the whole screen as one monitor without it. Without X11, or when no server answers, they are
// those of a headless default: one monitor of 1920 x 1080 pixels, 508 x 286 mm, 96 pixels per inch
// (a 23-inch screen at the usual 96 dpi).
#pragma once

namespace lamina {
namespace platform {

struct MonitorArea {
  int x = 0, y = 0;           // top-left corner on the virtual screen, in pixels
  int width = 0, height = 0;  // in pixels
  int widthMM = 0, heightMM = 0;
};

struct DisplayFacts {
  static constexpr int kMaxMonitors = 16;
  int count = 0;  // monitors of the system; the first min(count, kMaxMonitors) are listed
  MonitorArea monitors[kMaxMonitors];          // the primary monitor first
  int pixelsPerInchX = 0, pixelsPerInchY = 0;  // logical, the same for every monitor
};

DisplayFacts HeadlessDisplay();

// The facts of the X display named `name` (null: the one DISPLAY names), or the headless default
// when the library has no X11 or no server answers.
DisplayFacts ReadDisplay(const char* name = nullptr);

#if defined(LAMINA_HAVE_X11)
// The facts of an X display; false when none can be opened.
bool ReadX11Display(const char* name, DisplayFacts* facts);
#endif

}  // namespace platform
}  // namespace lamina
