// Helpers of the intensity benchmarks: running an in-place operation on a fresh copy of the
// picture each time (the restore is outside the timed region), and the OpenCV view of a picture.
#pragma once

#include <benchmark/benchmark.h>

#include <vector>

#include "bench_common.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

namespace lamina_bench {

// The picture with blue copied into green and red, so true-colour images are gray too.
inline CLamina MakeGrayPicture(int bpp) {
  CLamina img = MakePicture(bpp);
  if (bpp < 24) return img;
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  const std::size_t stride = (static_cast<std::size_t>(kSide) * bpp + 31) / 32 * 4;
  for (int y = 0; y < kSide; ++y) {
    unsigned char* q = p.lpBits + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < kSide; ++x, q += bpp / 8) q[1] = q[2] = q[0];
  }
  return img;
}

// Times op(img) on the picture of `bpp` bits; when `restore` is set the pixels (or the whole
// image, for operations that change the depth) are put back between iterations untimed.
template <class Op>
void RunInPlace(benchmark::State& state, int bpp, bool restore, Op op, bool whole = false,
                bool gray = false) {
  const CLamina pristine = gray ? MakeGrayPicture(bpp) : MakePicture(bpp);
  CLamina img = pristine;
  std::vector<unsigned char> bits(static_cast<std::size_t>(img.fnIMG_GetBitmapSize()));
  img.fnIMG_GetBitmap(bits.data());
  for (auto _ : state) {
    op(img);
    benchmark::ClobberMemory();
    if (restore) {
      state.PauseTiming();
      if (whole)
        img = pristine;
      else
        img.fnIMG_SetBitmap(bits.data());
      state.ResumeTiming();
    }
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}

#ifdef LAMINA_HAVE_OPENCV
// The picture's rows as an OpenCV matrix (bottom-up, which does not matter to point operations).
inline cv::Mat AsMat(CLamina& img) {
  const int bpp = img.fnIMG_GetColorDepth();
  const int channels = bpp / 8;
  const std::size_t stride = (static_cast<std::size_t>(img.fnIMG_GetColumns()) * bpp + 31) / 32 * 4;
  return cv::Mat(img.fnIMG_GetRows(), img.fnIMG_GetColumns(), CV_8UC(channels),
                 img.fnIMG_GetPointers().lpBits, stride);
}
#endif

}  // namespace lamina_bench
