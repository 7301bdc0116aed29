// fnIMG_Draw and fnIMG_GetMonitorsInfo: the image's block handed to the blit of its device context,
// and the monitor facts of the platform layer put in the report's record.
#include "core/display.h"

#include <cmath>

#include "core/block_access.h"
#include "core/codes.h"
#include "lamina/cdc.h"

namespace lamina {
namespace display {

int DiagonalInches(int widthMM, int heightMM) {
  const double h = heightMM / 10.0, w = widthMM / 10.0;
  // At most about 1.2e8 for any pair of ints, so the truncation always fits.
  return static_cast<int>(std::sqrt(h * h + w * w) * 0.393700787401575 + 1.0);
}

namespace {
// Squared distance from a point to a rectangle, 0 inside it.
double Distance2(const MonitorArea& m, double x, double y) {
  const double left = m.x, top = m.y;
  const double right = left + m.width - 1, bottom = top + m.height - 1;
  const double dx = x < left ? left - x : (x > right ? x - right : 0.0);
  const double dy = y < top ? top - y : (y > bottom ? y - bottom : 0.0);
  return dx * dx + dy * dy;
}
}  // namespace

const MonitorArea& Nearest(const DisplayFacts& facts, std::int64_t x, std::int64_t y) {
  const int listed =
      facts.count < DisplayFacts::kMaxMonitors ? facts.count : DisplayFacts::kMaxMonitors;
  const double px = static_cast<double>(facts.monitors[0].x + x);
  const double py = static_cast<double>(facts.monitors[0].y + y);
  int best = 0;
  double bestDistance = Distance2(facts.monitors[0], px, py);
  for (int i = 1; i < listed; ++i) {
    const double d = Distance2(facts.monitors[i], px, py);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return facts.monitors[best];
}

CLamina::InfoMonitorestag Report(const DisplayFacts& facts) {
  CLamina::InfoMonitorestag r{};
  r.nMonitores = facts.count;
  const MonitorArea& first = facts.monitors[0];
  r.nResolucionX1 = first.width;
  r.nResolucionY1 = first.height;
  r.nTamanoX1 = first.widthMM;
  r.nTamanoY1 = first.heightMM;
  r.nPixelesPulgadaX1 = facts.pixelsPerInchX;
  r.nPixelesPulgadaY1 = facts.pixelsPerInchY;
  r.nPulgadas1 = DiagonalInches(r.nTamanoX1, r.nTamanoY1);
  if (facts.count < 2) return r;
  const MonitorArea& second = Nearest(facts, std::int64_t{r.nResolucionX1} + 500, 200);
  r.nResolucionX2 = second.width;
  r.nResolucionY2 = second.height;
  r.nTamanoX2 = second.widthMM;
  r.nTamanoY2 = second.heightMM;
  r.nPixelesPulgadaX2 = facts.pixelsPerInchX;
  r.nPixelesPulgadaY2 = facts.pixelsPerInchY;
  r.nPulgadas2 = DiagonalInches(r.nTamanoX2, r.nTamanoY2);
  return r;
}

}  // namespace display
}  // namespace lamina

int CLamina::fnIMG_Draw(CDC* pDC, int x, int y) {
  if (m_lpBits == nullptr) return lamina::codes::draw::kNothingDrawn;
  const BITMAPINFOHEADER& h = *m_lpbmih;
  // The rows drawn are those the header counts; a header the blit cannot take draws nothing.
  const DWORD rows = h.biHeight > 0 ? static_cast<DWORD>(h.biHeight) : 0;
  const int drawn = SetDIBitsToDevice(pDC != nullptr ? pDC->GetSafeHdc() : nullptr, x, y,
                                      h.biWidth > 0 ? static_cast<DWORD>(h.biWidth) : 0, rows, 0, 0,
                                      0, rows, m_lpBits, m_lpbmi, DIB_RGB_COLORS);
  return drawn == 0 ? lamina::codes::draw::kNothingDrawn : 0;
}

CLamina::InfoMonitorestag CLamina::fnIMG_GetMonitorsInfo() {
  return lamina::display::Report(lamina::display::ReadFacts());
}
