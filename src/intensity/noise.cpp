// Uniform random noise, added to every pixel or to a random sample of pixels, optionally only to
// pixels whose level lies in a band.
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/intensity.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;
using namespace lamina::intensity;
namespace codes = lamina::codes;

namespace {

// One draw of 0 .. 32767. The noise and the sampled coordinates are defined on that range; a C
// library whose rand() reaches further (glibc: 2^31 - 1) is folded onto it.
int Draw() { return static_cast<int>(static_cast<unsigned>(std::rand()) % 32768u); }

// The level v moved by a uniform amount of [lo, hi): u * (hi - lo) + lo + v summed in single
// precision, rounded the library's way and clamped to [0, top].
int Noisy(int v, int lo, int hi, int top) {
  const float u = static_cast<float>(Draw()) * 3.0517578e-5f;
  const float w = u * static_cast<float>(hi - lo) + static_cast<float>(lo) + static_cast<float>(v);
  return Clamp(fnRound(static_cast<double>(w)), 0, top);
}

template <int B>
void NoisePixel(std::uint8_t* row, int x, bool band, int b1, int b2, int lo, int hi, int top) {
  if constexpr (B <= 8) {
    const int v = static_cast<int>(Px<B>::Get(row, x));
    if (band && (v < b1 || v > b2)) return;
    Px<B>::Set(row, x, static_cast<std::uint32_t>(Noisy(v, lo, hi, top)));
  } else {
    // A true-colour pixel is judged by its red byte and becomes gray.
    std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * (B / 8);
    const int v = p[2];
    if (band && (v < b1 || v > b2)) return;
    const std::uint8_t w = static_cast<std::uint8_t>(Noisy(v, lo, hi, top));
    p[0] = p[1] = p[2] = w;
  }
}

}  // namespace

// selection 0: every level, 1: only levels in [bandLow, bandHigh]; scope 0: `count` random draws
// of a pixel, 1: every pixel. The noise is uniform in [low, high), added to the level and clamped.
int CLamina::fnIMG_AddNoise(int selection, int scope, int low, int high, int bandLow, int bandHigh,
                            int count) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::add_noise::kDepth;
  if (static_cast<unsigned>(selection) > 1u) return codes::add_noise::kSelection;
  if (static_cast<unsigned>(scope) > 1u) return codes::add_noise::kScope;
  const int top = v.bpp == 1 ? 1 : (v.bpp == 4 ? 15 : 255);
  if (low >= high || low < -top || high > top) return codes::add_noise::kRange;
  CLamina::InformacionHistograma info{};
  // Its only failure is the depth, refused above already.
  if (lamina::intensity::GetInfoHistogram(*this, &info) != 0) return codes::add_noise::kDepth;
  if (bandLow < info.nMinI || bandHigh > info.nMaxI || bandLow > bandHigh)
    return codes::add_noise::kBand;
  const std::int64_t pixels =
      v.width > 0 && v.height > 0 ? static_cast<std::int64_t>(v.width) * v.height : 0;
  if (count < 1 || count > pixels) return codes::add_noise::kCount;

  std::srand(static_cast<unsigned>(std::time(nullptr)));
  const bool band = selection == 1;
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if (scope == 0) {
      for (int i = 0; i < count; ++i) {
        const int x = Draw() % v.width;
        const int y = Draw() % v.height;
        NoisePixel<B>(v.Row(y), x, band, bandLow, bandHigh, low, high, top);
      }
    } else {
      for (int y = 0; y < v.height; ++y) {
        std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x)
          NoisePixel<B>(row, x, band, bandLow, bandHigh, low, high, top);
      }
    }
  });
  NoteStride(*this, v);
  return 0;
}
