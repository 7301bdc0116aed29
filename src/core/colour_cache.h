// A small direct-mapped memo of "colour in, 32-bit result out" for whole-image loops whose
// per-colour work is costly (trigonometry, cube roots, a conversion there and back). Natural
// pictures repeat colours heavily, so most pixels are served by one probe; a miss costs the
// conversion it would have cost anyway. Results are pure functions of the colour, so the memo
// cannot change a result. Shared by the colour-model operations of the colour and intensity
// families.
#pragma once

#include <cstdint>
#include <vector>

#include "lamina/wintypes.h"

namespace lamina {

class ColourCache {
 public:
  ColourCache() : slots_(kSlots, 0) {}

  // The value of f(colour) for a 24-bit colour (blue + green * 256 + red * 65536).
  template <class F>
  std::uint32_t Get(std::uint32_t colour, F&& f) {
    const std::uint64_t key = static_cast<std::uint64_t>(colour | kValid) << 32;
    std::uint64_t& slot = slots_[(colour * 0x9E3779B1u) >> (32 - kBits)];
    if ((slot & 0xFFFFFFFF00000000ull) == key) return static_cast<std::uint32_t>(slot);
    const std::uint32_t value = f(colour);
    slot = key | value;
    return value;
  }

 private:
  static constexpr int kBits = 14;
  static constexpr std::size_t kSlots = std::size_t{1} << kBits;
  static constexpr std::uint32_t kValid = 0x1000000u;  // an empty slot (0) never matches
  std::vector<std::uint64_t> slots_;
};

inline RGBQUAD UnpackColour(std::uint32_t c) {
  return RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
}
inline std::uint32_t PackColour(RGBQUAD c) {
  return std::uint32_t{c.rgbBlue} | (std::uint32_t{c.rgbGreen} << 8) |
         (std::uint32_t{c.rgbRed} << 16);
}

}  // namespace lamina
