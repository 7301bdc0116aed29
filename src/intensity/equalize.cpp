// Histogram equalization: levels are remapped through the normalised cumulative histogram.
//
// fnIMG_EqualizeHistogram(model, rounding), result codes in intensity/codes.h
// (equalize_histogram). Rounding 0 is nearest with halves up, 1 floor, 2 ceiling; other models
// ignore it. Models 1 ... 10 are handed to the private fnIMG_EqualizeNoRGBHistogram's work and
// its result returned.
//
// Model 0 equalizes the palette indices, or the red byte of a true-colour image and writes it to
// all three bytes (the image becomes gray). Models 1 ... 10 equalize channels of another model:
// true-colour pixels are converted, remapped and written back (each distinct colour converted
// once through a memo); palette images get a new palette from their converted entries.
//
// An image without pixels has nothing to equalize and is left as it is (its histogram would be
// 0 / 0 everywhere, which would otherwise wipe out the palette).
#include <cmath>
#include <cstdint>

#include "CLamina.h"
#include "colour/model_channels.h"
#include "core/block_access.h"
#include "core/colour_cache.h"
#include "core/byte_table.h"
#include "core/palette.h"
#include "core/pixel_access.h"
#include "intensity/codes.h"
#include "intensity/intensity.h"
#include "intensity/level_tables.h"

using lamina::BlockAccess;
using lamina::ImageView;
using lamina::Px;
namespace codes = lamina::codes;
namespace cm = lamina::colour;

namespace {

// A bin for a channel value: its truncation, kept inside a table of n bins. For 1- and 4-bit
// palette images the channels still lie on 0 ... 255 while the tables have 2 or 16 bins, so the
// top bin gathers everything above it.
inline int Bin(double value, int n) {
  int b = cm::SafeTrunc(value);
  if (b < 0) b = 0;
  if (b > n - 1) b = n - 1;
  return b;
}

// Models 1 ... 10.
int EqualizeInModel(CLamina& img, int model) {
  const ImageView v = BlockAccess::View(img);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::equalize_histogram::kDepth;
  if (model < 1 || model > 10) return codes::equalize_histogram::kModel;
  if (v.width <= 0 || v.height <= 0) return 0;
  const double pixels = static_cast<double>(static_cast<std::int64_t>(v.width) * v.height);
  const bool palette = v.bpp <= 8;
  const int n = palette ? (1 << v.bpp) : 256;
  // True-colour CMYK keeps its black; palette entries have all four inks equalized.
  const cm::ChangedFields changed = cm::Changed(model, palette);

  // Turns counts into the cumulative table, scaled to the top level, plus one half.
  const auto cumulate = [&](double* t, const std::uint64_t* counts) {
    for (int k = 0; k < n; ++k) t[k] = static_cast<double>(counts[k]) / pixels;
    for (int k = 1; k < n; ++k) t[k] = t[k - 1] + t[k];
    for (int k = 0; k < n; ++k) t[k] = t[k] * (n - 1) + 0.5;
  };

  std::uint64_t counts[4][256] = {};
  double tables[4][256];

  if (!palette) {
    lamina::ColourCache bins;
    const auto binsOf = [&](std::uint32_t colour) {
      const cm::Channels ch = cm::ToModel(model, lamina::UnpackColour(colour));
      std::uint32_t packed = 0;
      for (int i = 0; i < changed.count; ++i)
        packed |= static_cast<std::uint32_t>(Bin(ch.f[changed.first + i], n)) << (8 * i);
      return packed;
    };
    lamina::DispatchDepth<lamina::kTrueColourDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      for (int y = v.height - 1; y >= 0; --y) {
        const std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x) {
          const std::uint32_t b = bins.Get(Px<B>::Get(row, x), binsOf);
          for (int i = 0; i < changed.count; ++i) ++counts[i][(b >> (8 * i)) & 0xFF];
        }
      }
    });
    for (int i = 0; i < changed.count; ++i) cumulate(tables[i], counts[i]);

    lamina::ColourCache remap;
    const auto remapOf = [&](std::uint32_t colour) {
      cm::Channels ch = cm::ToModel(model, lamina::UnpackColour(colour));
      for (int i = 0; i < changed.count; ++i) {
        float& f = ch.f[changed.first + i];
        const double t = tables[i][Bin(f, n)];
        // The inks are whole levels in 8 bits; the other channels keep the fraction.
        f = model == 1 ? static_cast<float>(static_cast<std::uint8_t>(static_cast<int>(t)))
                       : static_cast<float>(t);
      }
      return lamina::PackColour(cm::FromModel(model, ch));
    };
    lamina::DispatchDepth<lamina::kTrueColourDepthMask>(v.bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      for (int y = v.height - 1; y >= 0; --y) {
        std::uint8_t* row = v.Row(y);
        for (int x = 0; x < v.width; ++x)
          Px<B>::Set(row, x, remap.Get(Px<B>::Get(row, x), remapOf));
      }
    });
    BlockAccess::NoteStride(img, v);
    return 0;
  }

  // Palette images: the entries are converted once, the pixels only counted per index.
  cm::Channels records[256];
  for (int i = 0; i < n; ++i)
    records[i] = cm::ToModel(model, v.Entry(static_cast<std::uint32_t>(i)));
  std::uint64_t perIndex[256];
  lamina::intensity::CountLevels(v, 0, perIndex);
  const bool ycbcr = model == 7;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < changed.count; ++j) {
      const float f = records[i].f[changed.first + j];
      // YCbCr's Y spans 16 ... 235 in studio terms: its bins are spread over the table.
      const int bin = ycbcr ? Bin((cm::SafeTrunc(f) - 16) / 219.0 * (n - 1), n) : Bin(f, n);
      counts[j][bin] += perIndex[i];
    }
  }
  for (int j = 0; j < changed.count; ++j) cumulate(tables[j], counts[j]);

  RGBQUAD pal[256];
  for (int i = 0; i < v.paletteEntries && i < 256; ++i) pal[i] = v.palette[i];
  for (int i = 0; i < n; ++i) {
    cm::Channels ch = records[i];
    for (int j = 0; j < changed.count; ++j) {
      float& f = ch.f[changed.first + j];
      const double t = tables[j][Bin(f, n)];
      f = ycbcr ? static_cast<float>(t / (n - 1) * 219 + 16) : static_cast<float>(t);
    }
    pal[i] = cm::FromModel(model, ch);
  }
  lamina::SetPalette(v, pal);
  BlockAccess::NoteStride(img, v);
  return 0;
}

}  // namespace

int CLamina::fnIMG_EqualizeHistogram(int model, int rounding) {
  const ImageView v = BlockAccess::View(*this);
  if (!lamina::IsSupportedDepth(v.bpp)) return codes::equalize_histogram::kDepth;
  if (model >= 1 && model <= 10) return EqualizeInModel(*this, model);
  if (model != 0) return codes::equalize_histogram::kModel;
  if (static_cast<unsigned>(rounding) > 2u) return codes::equalize_histogram::kRounding;

  const std::int64_t pixels = static_cast<std::int64_t>(v.width) * v.height;
  if (v.width <= 0 || v.height <= 0) return 0;
  int histogram[1024];
  // Its only failure is the depth, refused above already.
  if (lamina::intensity::GetHistogram(*this, histogram, 0) != 0)
    return codes::equalize_histogram::kDepth;
  const int column = v.bpp < 24 ? 0 : 1;  // the index, or the red byte
  const int n = v.bpp < 24 ? (1 << v.bpp) : 256;

  const float total = static_cast<float>(pixels);
  std::uint8_t lut[256] = {};
  float c = 0.0f;
  for (int k = 0; k < n; ++k) {
    const float p = static_cast<float>(histogram[4 * k + column]) / total;
    c = k == 0 ? p : c + p;
    const float x = c * static_cast<float>(n - 1);
    double level;
    if (rounding == 1)
      level = std::floor(x);
    else if (rounding == 2)
      level = std::ceil(x);
    else
      level = (x - std::floor(x) >= 0.5) ? std::ceil(x) : std::floor(x);
    // The running sum may end a hair above 1, and its ceiling would then be n, which 8 bits
    // store as 0: the brightest pixels would turn black. The top level is the ceiling.
    if (level > n - 1) level = n - 1;
    if (!(level > 0.0)) level = 0.0;
    lut[k] = static_cast<std::uint8_t>(static_cast<int>(level));
  }

  lamina::DispatchDepth(v.bpp, [&](auto d) {
    constexpr int B = decltype(d)::value;
    if constexpr (B <= 8) {
      lamina::intensity::MapIndices<B>(v, lut);
    } else {
      for (int y = v.height - 1; y >= 0; --y) {
        std::uint8_t* p = v.Row(y);
        for (int x = 0; x < v.width; ++x, p += B / 8) {
          const std::uint8_t g = lut[p[2]];
          p[0] = g;
          p[1] = g;
          p[2] = g;
        }
      }
    }
  });
  m_nAnchoAlineado = v.stride;
  return 0;
}

int CLamina::fnIMG_EqualizeNoRGBHistogram(int model) { return EqualizeInModel(*this, model); }
