// The headless default and the choice between it and the X server.
#include "platform/display.h"

namespace lamina {
namespace platform {

DisplayFacts HeadlessDisplay() {
  DisplayFacts f;
  f.count = 1;
  f.monitors[0] = MonitorArea{0, 0, 1920, 1080, 508, 286};
  f.pixelsPerInchX = f.pixelsPerInchY = 96;
  return f;
}

DisplayFacts ReadDisplay(const char* name) {
#if defined(LAMINA_HAVE_X11)
  DisplayFacts f;
  if (ReadX11Display(name, &f)) return f;
#else
  (void)name;
#endif
  return HeadlessDisplay();
}

}  // namespace platform
}  // namespace lamina
