// fnIMG_Split: one 8-bit gray image per channel of a colour model. Each channel is the model's
// value at scale 1, truncated and wrapped to its low 8 bits as the pixel setter keeps them.
//
// Result codes: colour/codes.h (split). Nothing is written before every check has passed.
//
// The image is only read, one pixel at a time before its outputs are written, so an output that
// is the image itself gets what the pixel-by-pixel procedure gives. Palette images are converted
// once per palette index, true-colour images per pixel (through a memo for the costly models).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "CLamina.h"
#include "colour/codes.h"
#include "colour/colour_math.h"
#include "core/block_access.h"
#include "core/colour_cache.h"
#include "core/cpu.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "core/simd24.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;
namespace codes = lamina::codes;
namespace cm = lamina::colour;

namespace {

inline std::uint32_t Pack3(BYTE a, BYTE b, BYTE c) {
  return std::uint32_t{a} | (std::uint32_t{b} << 8) | (std::uint32_t{c} << 16);
}

// The three channel bytes of models 2 ... 10 for one colour, packed first | second << 8 | third
// << 16.
std::uint32_t ModelChannels(int model, RGBQUAD c) {
  using cm::WrapByte;
  switch (model) {
    case 2: {
      const cm::HSI v = cm::RgbToHsi(c, 1);
      return Pack3(WrapByte(v.hsiHue), WrapByte(v.hsiSaturation), WrapByte(v.hsiIntensity));
    }
    case 3: {
      const cm::HSV v = cm::RgbToHsv(c, 1);
      return Pack3(WrapByte(v.hsvHue), WrapByte(v.hsvSaturation), WrapByte(v.hsvValue));
    }
    case 4: {
      const cm::HSL v = cm::RgbToHsl(c, 1);
      return Pack3(WrapByte(v.hslHue), WrapByte(v.hslSaturation), WrapByte(v.hslLightness));
    }
    case 5: {
      const cm::YIQ v = cm::RgbToYiq(c, 1);
      return Pack3(WrapByte(v.yiqY), WrapByte(v.yiqI), WrapByte(v.yiqQ));
    }
    case 6: {
      const cm::YuvWhole v = cm::RgbToYuvWhole(c);
      return Pack3(static_cast<BYTE>(v.Y & 0xFF), static_cast<BYTE>(v.U & 0xFF),
                   static_cast<BYTE>(v.V & 0xFF));
    }
    case 7: {
      const cm::YCbCr v = cm::RgbToYcbcr(c, 1);
      return Pack3(WrapByte(v.ycbcrY), WrapByte(v.ycbcrCb), WrapByte(v.ycbcrCr));
    }
    case 8: {
      const cm::XYZ v = cm::RgbToXyz(c, 1);
      return Pack3(WrapByte(v.xyzX), WrapByte(v.xyzY), WrapByte(v.xyzZ));
    }
    case 9: {
      const cm::LAB v = cm::RgbToLab(c, 1);
      return Pack3(WrapByte(v.labL), WrapByte(v.labA), WrapByte(v.labB));
    }
    default: {
      const cm::LUV v = cm::RgbToLuv(c, 1);
      return Pack3(WrapByte(v.luvL), WrapByte(v.luvU), WrapByte(v.luvV));
    }
  }
}

// All four channels of models 0 and 1 and the three of the others, packed as in ModelChannels
// with the fourth in the top byte. `alpha` is the fourth byte of a 32-bit pixel.
inline std::uint32_t RgbChannels(RGBQUAD c) { return Pack3(c.rgbRed, c.rgbGreen, c.rgbBlue); }
inline std::uint32_t CmykChannels(RGBQUAD c) {
  const cm::CMYK v = cm::RgbToCmyk(c, 1);
  return Pack3(static_cast<BYTE>(v.cmykCyan), static_cast<BYTE>(v.cmykMagenta),
               static_cast<BYTE>(v.cmykYellow)) |
         (std::uint32_t{static_cast<BYTE>(v.cmykBlack)} << 24);
}

// Models 2, 4, 9 and 10 cost trigonometry or cube roots per colour; they go through the memo.
inline bool Costly(int model) { return model == 2 || model == 4 || model == 9 || model == 10; }

struct Outputs {
  ImageView o[4];
  int count = 3;  // 4 for models 0 and 1
};

// Writes the packed channels of pixel x of row y into the outputs.
inline void Put(const Outputs& out, int y, int x, std::uint32_t ch) {
  for (int i = 0; i < out.count; ++i) out.o[i].Row(y)[x] = static_cast<std::uint8_t>(ch >> (8 * i));
}

// Red, green and blue of pixels x .. width - 1 of a 24-bit row into three rows, one by one: the
// plain loop the vector paths are tested against. Within each pixel the outputs are written
// first, second, third, so outputs that are one image end with the third channel, as
// pixel-by-pixel writing leaves them.
void SplitRgbPlain(const std::uint8_t* row, int x, int width, std::uint8_t* r, std::uint8_t* g,
                   std::uint8_t* b) {
  for (const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x); x < width; ++x, p += 3) {
    const std::uint8_t pb = p[0], pg = p[1], pr = p[2];
    r[x] = pr;
    g[x] = pg;
    b[x] = pb;
  }
}

#ifdef LAMINA_X86
// Sixteen pixels at a time, taken apart with byte interleaves. Returns the pixels done.
__attribute__((target("sse2"))) int SplitRgbRowSse2(const std::uint8_t* p, int width,
                                                    std::uint8_t* r, std::uint8_t* g,
                                                    std::uint8_t* b) {
  int x = 0;
  for (; x + 16 <= width; x += 16, p += 48) {
    const __m128i t00 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i t01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    const __m128i t02 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
    const __m128i t10 = _mm_unpacklo_epi8(t00, _mm_unpackhi_epi64(t01, t01));
    const __m128i t11 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t00, t00), t02);
    const __m128i t12 = _mm_unpacklo_epi8(t01, _mm_unpackhi_epi64(t02, t02));
    const __m128i t20 = _mm_unpacklo_epi8(t10, _mm_unpackhi_epi64(t11, t11));
    const __m128i t21 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t10, t10), t12);
    const __m128i t22 = _mm_unpacklo_epi8(t11, _mm_unpackhi_epi64(t12, t12));
    const __m128i t30 = _mm_unpacklo_epi8(t20, _mm_unpackhi_epi64(t21, t21));
    const __m128i t31 = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t20, t20), t22);
    const __m128i t32 = _mm_unpacklo_epi8(t21, _mm_unpackhi_epi64(t22, t22));
    const __m128i blue = _mm_unpacklo_epi8(t30, _mm_unpackhi_epi64(t31, t31));
    const __m128i green = _mm_unpacklo_epi8(_mm_unpackhi_epi64(t30, t30), t32);
    const __m128i red = _mm_unpacklo_epi8(t31, _mm_unpackhi_epi64(t32, t32));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(r + x), red);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(g + x), green);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(b + x), blue);
  }
  return x;
}

// Two 16-pixel groups 48 bytes apart, one in each 128-bit lane.
__attribute__((target("avx2"))) inline __m256i LoadGroupPair(const std::uint8_t* q) {
  return _mm256_inserti128_si256(
      _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q))),
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 48)), 1);
}

// The same split, 32 pixels at a time. Two 16-pixel groups are loaded so that each 128-bit lane
// holds one group laid out as in a 48-byte SSE load; the in-lane byte shuffles then gather one
// channel of both groups at once, and the two lanes are 32 consecutive output bytes. Returns the
// pixels done.
__attribute__((target("avx2"))) int SplitRgbRowAvx2(const std::uint8_t* row, int width,
                                                    std::uint8_t* r, std::uint8_t* g,
                                                    std::uint8_t* b) {
  const lamina::simd24::Tables& t = lamina::simd24::TheTables();
  __m256i mask[3][3];
  for (int c = 0; c < 3; ++c)
    for (int reg = 0; reg < 3; ++reg)
      mask[c][reg] = _mm256_broadcastsi128_si256(
          _mm_load_si128(reinterpret_cast<const __m128i*>(t.gather[c][reg])));
  int x = 0;
  // The outputs are written once and not read again here. When the three rows share their
  // alignment (images of one size always do), a few pixels one by one bring them to 32 bytes and
  // the rest is stored around the cache, which spares reading every output line in first.
  const auto misalign = [](const std::uint8_t* q) {
    return reinterpret_cast<std::uintptr_t>(q) & 31u;
  };
  const bool stream = width >= 1024 && misalign(r) == misalign(g) && misalign(g) == misalign(b);
  if (stream) {
    const int lead = static_cast<int>((32 - misalign(r)) & 31u);
    SplitRgbPlain(row, 0, lead, r, g, b);
    x = lead;
  }
  const std::uint8_t* p = row + 3 * static_cast<std::ptrdiff_t>(x);
  for (; x + 32 <= width; x += 32, p += 96) {
    const __m256i v0 = LoadGroupPair(p), v1 = LoadGroupPair(p + 16), v2 = LoadGroupPair(p + 32);
    __m256i out[3];
    for (int c = 0; c < 3; ++c)
      out[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(v0, mask[c][0]),
                                               _mm256_shuffle_epi8(v1, mask[c][1])),
                               _mm256_shuffle_epi8(v2, mask[c][2]));
    if (stream) {
      _mm256_stream_si256(reinterpret_cast<__m256i*>(b + x), out[0]);
      _mm256_stream_si256(reinterpret_cast<__m256i*>(g + x), out[1]);
      _mm256_stream_si256(reinterpret_cast<__m256i*>(r + x), out[2]);
    } else {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(b + x), out[0]);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(g + x), out[1]);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(r + x), out[2]);
    }
  }
  if (stream) _mm_sfence();
  return x;
}
#endif  // LAMINA_X86

// One 24-bit row: the widest path the processor has, then the plain loop for the rest.
void SplitRgbRow(const std::uint8_t* row, int width, std::uint8_t* r, std::uint8_t* g,
                 std::uint8_t* b) {
  int done = 0;
#ifdef LAMINA_X86
  if (lamina::cpu::HaveAvx2())
    done = SplitRgbRowAvx2(row, width, r, g, b);
  else if (lamina::cpu::HaveSse2())
    done = SplitRgbRowSse2(row, width, r, g, b);
#endif
  SplitRgbPlain(row, done, width, r, g, b);
}

// HSV at scale 1 over true-colour rows. The channels depend on a few small integers only: the
// hue on the sector (which byte is the largest), the difference it divides and max - min; the
// saturation on max and max - min; the value is max itself (max / 255.0 * 255 gives max back for
// every byte). Tables of those, filled once with RgbToHsv's own float arithmetic, replace two
// float divisions and their branches per pixel; the tests compare every channel with the
// single-colour conversion.
struct HsvTables {
  // [sector][difference + 255][max - min]; sector 0 red, 1 green, 2 blue is the largest.
  BYTE hue[3][511][256];
  BYTE saturation[256][256];  // [max][max - min]
  HsvTables() {
    for (int sector = 0; sector < 3; ++sector)
      for (int num = -255; num <= 255; ++num)
        for (int delta = 0; delta < 256; ++delta) {
          BYTE h = 0;
          if (delta != 0) {
            const float q = static_cast<float>(num) / static_cast<float>(delta);
            const float hh = sector == 0 ? q : sector == 1 ? 2.0f + q : 4.0f + q;
            float hue = 42.5f * hh;
            if (hue < 0.0f) hue += 255.0f;
            h = cm::WrapByte(hue);
          }
          hue[sector][num + 255][delta] = h;
        }
    for (int mx = 0; mx < 256; ++mx)
      for (int delta = 0; delta < 256; ++delta)
        saturation[mx][delta] =
            mx == 0 || delta > mx
                ? 0
                : cm::WrapByte(static_cast<float>(delta) / static_cast<float>(mx) * 255.0f);
  }
  static const HsvTables& Get() {
    static const HsvTables* const tables = new HsvTables();  // built once, kept for the process
    return *tables;
  }
};

template <int B>
void SplitHsvRow(const HsvTables& t, const std::uint8_t* p, int width, std::uint8_t* ho,
                 std::uint8_t* so, std::uint8_t* vo) {
  for (int x = 0; x < width; ++x, p += B / 8) {
    const int b = p[0], g = p[1], r = p[2];
    const int mx = std::max(std::max(r, g), b);
    const int mn = std::min(std::min(r, g), b);
    const int delta = mx - mn;
    // The sectors in the order of the conversion: red first, then green, then blue. Chosen with
    // masks, not branches: on textured pictures the largest byte changes from pixel to pixel.
    const int isR = r == mx;
    const int isG = (g == mx) & (isR ^ 1);
    const int maskR = -isR, maskG = -isG, maskB = ~(maskR | maskG);
    const int sector = 2 - 2 * isR - isG;
    const int num = ((g - b) & maskR) | ((b - r) & maskG) | ((r - g) & maskB);
    const BYTE h = t.hue[sector][num + 255][delta];
    const BYTE sat = t.saturation[mx][delta];
    // Black (max 0, so max - min 0 and table hue 0) takes hue 254.
    ho[x] = static_cast<BYTE>(h | (254 & -(mx == 0)));
    so[x] = sat;
    vo[x] = static_cast<std::uint8_t>(mx);
  }
}

template <int B>
void SplitHsvRows(const ImageView& v, const Outputs& out) {
  const HsvTables& t = HsvTables::Get();
  for (int y = v.height - 1; y >= 0; --y)
    SplitHsvRow<B>(t, v.Row(y), v.width, out.o[0].Row(y), out.o[1].Row(y), out.o[2].Row(y));
}

}  // namespace

int CLamina::fnIMG_Split(int model, CLamina* first, CLamina* second, CLamina* third,
                         CLamina* fourth) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::split::kDepth;
  const bool withFourth = model == 0 || model == 1;
  if (first == nullptr || second == nullptr || third == nullptr)
    return codes::split::kOutputMissing;
  if (withFourth && fourth == nullptr) return codes::split::kOutputMissing;
  // Model 1 writes all four outputs through the same checks; model 0's fourth (alpha) is
  // written only where it lies inside that image, whatever its size and depth.
  CLamina* checked[4] = {first, second, third, model == 1 ? fourth : nullptr};
  Outputs out;
  for (int i = 0; i < 4; ++i)
    if (checked[i] != nullptr) out.o[i] = BlockAccess::View(*checked[i]);
  const int nChecked = model == 1 ? 4 : 3;
  for (int i = 0; i < nChecked; ++i)
    if (out.o[i].header == nullptr || out.o[i].width != v.width) return codes::split::kOutputSize;
  for (int i = 0; i < nChecked; ++i)
    if (out.o[i].height != v.height) return codes::split::kOutputSize;
  for (int i = 0; i < nChecked; ++i)
    if (out.o[i].bpp != 8) return codes::split::kOutputDepth;
  if (static_cast<unsigned>(model) > 10u) return codes::split::kModel;
  out.count = model == 1 ? 4 : 3;

  const bool anyPixel = v.width > 0 && v.height > 0;
  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if constexpr (B <= 8) {
      // One conversion per palette index.
      std::uint32_t table[256];
      const int n = 1 << B;
      for (int i = 0; i < n; ++i) {
        const RGBQUAD c = v.Entry(static_cast<std::uint32_t>(i));
        if (model == 0) {
          if (B == 1) {
            const BYTE g = static_cast<BYTE>(i * 255);
            table[i] = Pack3(g, g, g);
          } else if (B == 4) {
            const BYTE g = static_cast<BYTE>(i * 255 / 15);
            table[i] = Pack3(g, g, g);
          } else {
            table[i] = RgbChannels(c);
          }
        } else if (model == 1) {
          table[i] = CmykChannels(c);
        } else {
          table[i] = ModelChannels(model, c);
        }
      }
      if (model == 0) out.count = 3;  // palette images have no alpha to give
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x) Put(out, y, x, table[Px<B>::Get(row, x)]);
      }
    } else if (model == 0 && B == 24) {
      // Rows in the order they are stored (bottom up), so memory is read front to back.
      for (int y = v.height - 1; y >= 0; --y)
        SplitRgbRow(v.Row(y), v.width, out.o[0].Row(y), out.o[1].Row(y), out.o[2].Row(y));
    } else if (model == 3) {
      SplitHsvRows<B>(v, out);
    } else if (model == 0) {
      const ImageView a = BlockAccess::View(*fourth);
      const bool alpha = B == 32;
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* p = v.Row(y);
        std::uint8_t* r = out.o[0].Row(y);
        std::uint8_t* g = out.o[1].Row(y);
        std::uint8_t* b = out.o[2].Row(y);
        for (int x = 0; x < v.width; ++x, p += B / 8) {
          // Read the whole pixel before writing: an output may be this image itself.
          const std::uint8_t pb = p[0], pg = p[1], pr = p[2];
          const std::uint8_t pa = alpha ? p[3] : 0;
          r[x] = pr;
          g[x] = pg;
          b[x] = pb;
          if (alpha && a.Inside(x, y)) {
            lamina::DispatchDepth(a.bpp,
                                  [&](auto ad) { Px<decltype(ad)::value>::Set(a.Row(y), x, pa); });
          }
        }
      }
    } else if (model == 1 || !Costly(model)) {
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x) {
          const RGBQUAD c = Px<B>::GetRGB(row, x);
          Put(out, y, x, model == 1 ? CmykChannels(c) : ModelChannels(model, c));
        }
      }
    } else {
      lamina::ColourCache cache;
      const auto convert = [model](std::uint32_t c) {
        return ModelChannels(model, lamina::UnpackColour(c));
      };
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x) Put(out, y, x, cache.Get(Px<B>::Get(row, x), convert));
      }
    }
  });

  // The pixel accessors leave the stride they used in each image they touched.
  if (anyPixel) {
    m_nAnchoAlineado = v.stride;
    for (int i = 0; i < out.count; ++i)
      BlockAccess::CachedStride(i == 0   ? *first
                                : i == 1 ? *second
                                : i == 2 ? *third
                                         : *fourth) = out.o[i].stride;
  }
  // The outputs' palettes: the 256-entry ramp for model 0, otherwise each one's own gray ramp.
  const auto view = [](CLamina* img) { return BlockAccess::View(*img); };
  if (model == 0) {
    RGBQUAD ramp[256];
    for (int i = 0; i < 256; ++i) ramp[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    lamina::SetPalette(view(first), ramp);
    lamina::SetPalette(view(second), ramp);
    lamina::SetPalette(view(third), ramp);
    if (v.bpp == 32 && anyPixel) {
      const ImageView a = BlockAccess::View(*fourth);
      if (lamina::IsSupportedDepth(a.bpp) && a.width > 0 && a.height > 0)
        BlockAccess::CachedStride(*fourth) = a.stride;
    }
    lamina::SetGrayRamp(view(fourth));  // nothing at depths without a palette
  } else {
    lamina::SetGrayRamp(view(first));
    lamina::SetGrayRamp(view(second));
    lamina::SetGrayRamp(view(third));
    if (model == 1) lamina::SetGrayRamp(view(fourth));
  }
  return 0;
}
