// Writing results back, compact blocks and the fresh image of a padded convolution.
#include "neighbourhood/results.h"

#include <cstring>

#include "core/block_access.h"
#include "core/cpu.h"
#include "lamina/memory.h"

namespace lamina {
namespace neighbourhood {
namespace detail {
namespace {

std::size_t BlockBytes(CLamina& img) {
  std::uint8_t* block = BlockAccess::Block(img);
  return block == nullptr ? 0 : GlobalSize(GlobalHandle(block));
}

// True when the block is exactly header, palette and biSizeImage bytes of rows, in that order.
bool IsCompact(CLamina& img, const ImageView& v) {
  std::uint8_t* block = BlockAccess::Block(img);
  const std::size_t palette = 4 * static_cast<std::size_t>(v.paletteEntries);
  return block != nullptr && v.bits == block + 40 + palette &&
         BlockBytes(img) == 40 + palette + v.header->biSizeImage;
}

#ifdef LAMINA_X86
// 24 bits: sixteen values spread to 48 bytes by three byte shuffles of each 128-bit half. 32 bits:
// eight values times 0x010101 in 32-bit lanes, with the fourth byte kept or cleared.
__attribute__((target("avx2"))) int WriteGrayAvx2(std::uint8_t* p, int bpp, int n,
                                                  const std::uint8_t* u, bool zeroFourth) {
  int i = 0;
  if (bpp == 24) {
    alignas(16) static const std::uint8_t spread[3][16] = {
        {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5},
        {5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10},
        {10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15}};
    const __m128i s0 = _mm_load_si128(reinterpret_cast<const __m128i*>(spread[0]));
    const __m128i s1 = _mm_load_si128(reinterpret_cast<const __m128i*>(spread[1]));
    const __m128i s2 = _mm_load_si128(reinterpret_cast<const __m128i*>(spread[2]));
    for (; i + 16 <= n; i += 16) {
      const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
      auto* q = reinterpret_cast<__m128i*>(p + 3 * i);
      _mm_storeu_si128(q, _mm_shuffle_epi8(g, s0));
      _mm_storeu_si128(q + 1, _mm_shuffle_epi8(g, s1));
      _mm_storeu_si128(q + 2, _mm_shuffle_epi8(g, s2));
    }
    return i;
  }
  const __m256i times = _mm256_set1_epi32(0x010101);
  const __m256i fourth = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 8 <= n; i += 8) {
    const __m256i g = _mm256_mullo_epi32(
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(u + i))), times);
    auto* q = reinterpret_cast<__m256i*>(p + 4 * i);
    const __m256i kept =
        zeroFourth ? _mm256_setzero_si256() : _mm256_and_si256(_mm256_loadu_si256(q), fourth);
    _mm256_storeu_si256(q, _mm256_or_si256(g, kept));
  }
  return i;
}
#endif

}  // namespace

void WriteValues(std::uint8_t* row, int bpp, int x0, int n, const std::uint8_t* u,
                 bool zeroFourth) {
  switch (bpp) {
    case 8:
      std::memcpy(row + x0, u, static_cast<std::size_t>(n));
      return;
    case 4: {
      int i = 0;
      // A leading odd column shares its byte with the pixel before it.
      if ((x0 & 1) != 0 && n > 0) {
        Px<4>::Set(row, x0, u[0]);
        i = 1;
      }
      std::uint8_t* p = row + (x0 + i) / 2;
      for (; i + 1 < n; i += 2) *p++ = static_cast<std::uint8_t>((u[i] << 4) | (u[i + 1] & 15));
      if (i < n) Px<4>::Set(row, x0 + i, u[i]);
      return;
    }
    case 24:
    case 32: {
      const int bytes = bpp / 8;
      std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x0) * bytes;
      int i = 0;
#ifdef LAMINA_X86
      if (cpu::HaveAvx2()) i = WriteGrayAvx2(p, bpp, n, u, zeroFourth);
#endif
      for (; i < n; ++i) {
        std::uint8_t* q = p + static_cast<std::ptrdiff_t>(i) * bytes;
        q[0] = q[1] = q[2] = u[i];
        if (bytes == 4 && zeroFourth) q[3] = 0;
      }
      return;
    }
    default:
      return;
  }
}

Compacted::Compacted(CLamina& img) {
  view_ = BlockAccess::View(img);
  if (IsCompact(img, view_)) {
    ok_ = true;
    return;
  }
  const std::size_t palette = 4 * static_cast<std::size_t>(view_.paletteEntries);
  const std::size_t rows = view_.header->biSizeImage;
  NewImage copy = NewImage::Raw(40 + palette + rows, 40 + palette, /*zero=*/false);
  if (!copy.Ok()) return;
  std::uint8_t* block = copy.Block();
  std::memcpy(block, view_.header, 40);
  if (palette > 0) std::memcpy(block + 40, view_.palette, palette);
  std::memcpy(block + 40 + palette, view_.bits, rows);
  view_ = copy.View();
  copy_.emplace(std::move(copy));
  ok_ = true;
}

void Compacted::Install(CLamina& img) {
  if (copy_) copy_->InstallInto(img);
}

FreshTarget::FreshTarget(CLamina& img) {
  const ImageView v = BlockAccess::View(img);
  const std::int64_t levels = Levels(v.bpp);
  const std::int64_t entries = v.bpp <= 8 ? levels : 0;
  const BITMAPINFOHEADER h = ConstructorHeader(v.width, v.height, v.bpp);
  // The image's own block serves when it is compact and already holds a palette of the full
  // size: only the header, the padding and the fourth bytes differ from the fresh image's.
  if (v.paletteEntries == entries && IsCompact(img, v) && v.header->biSizeImage == h.biSizeImage) {
    view_ = v;
    inPlace_ = true;
    ok_ = true;
    return;
  }
  RGBQUAD palette[256];
  PaletteFrom(v, v.bpp, palette);
  NewImage fresh(v.width, v.height, v.bpp, palette, NewRows::kPixelsWritten);
  if (!fresh.Ok()) return;
  view_ = fresh.View();
  fresh_.emplace(std::move(fresh));
  ok_ = true;
}

void FreshTarget::Finish(CLamina& img) {
  if (!inPlace_) {
    fresh_->InstallInto(img);
    return;
  }
  const BITMAPINFOHEADER h = ConstructorHeader(view_.width, view_.height, view_.bpp);
  std::memcpy(view_.header, &h, sizeof h);
  // As a new block's rows: everything after the last whole byte of pixels is 0 (at 4 bits with
  // an odd width, the low half of the last byte too).
  const std::size_t kept = static_cast<std::size_t>(std::int64_t{view_.width} * view_.bpp / 8);
  const bool halfByte = view_.bpp == 4 && (view_.width & 1) != 0;
  const std::size_t from = kept + (halfByte ? 1 : 0);
  const std::size_t stride = static_cast<std::size_t>(view_.stride);
  for (int y = 0; y < view_.height; ++y) {
    std::uint8_t* row = view_.Row(y);
    if (halfByte) row[kept] &= 0xF0;
    if (from < stride) std::memset(row + from, 0, stride - from);
  }
  BlockAccess::CachedStride(img) = view_.stride;
}

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina
