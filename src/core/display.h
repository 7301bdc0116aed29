// Drawing and monitor information, for the core and for the move by a physical length: the monitor
// facts of the platform layer, the choice of a monitor by a point, and the report.
#pragma once

#include <cstdint>

#include "CLamina.h"
#include "platform/display.h"

namespace lamina {
namespace display {

using platform::DisplayFacts;
using platform::MonitorArea;

// The facts of the display the library runs on (the X server, or the headless default).
inline DisplayFacts ReadFacts() { return platform::ReadDisplay(); }

// The diagonal in whole inches of a monitor of widthMM x heightMM, with the + 1 that makes a
// 21.5-inch diagonal 22 and an exact 22 give 23.
int DiagonalInches(int widthMM, int heightMM);

// The listed monitor nearest to the point (x, y), taken relative to the primary monitor's top-left
// corner (which is the origin of the virtual screen where monitors are laid out from the primary
// one): one containing the point, else the one whose edge is closest; the earlier listed on a tie,
// so the primary wins ties.
const MonitorArea& Nearest(const DisplayFacts& facts, std::int64_t x, std::int64_t y);

// The report of fnIMG_GetMonitorsInfo for these facts: the primary monitor, and the monitor nearest
// to (its width + 500, 200) as the second when there are two or more.
CLamina::InfoMonitorestag Report(const DisplayFacts& facts);

}  // namespace display
}  // namespace lamina
