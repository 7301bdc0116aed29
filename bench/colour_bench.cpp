// Colour models: equalization, channel split, non-linear contrast and the single-colour
// conversions, beside OpenCV run single-threaded (when it is installed) or the memcpy floor.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "CLamina.h"
#include "bench_common.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using namespace lamina_bench;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

#ifdef LAMINA_HAVE_OPENCV
// The picture's rows as a matrix (bottom-up, which is all the same to these operations).
cv::Mat ColourMat(CLamina& img) {
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  const int bpp = p.lpbmih->biBitCount;
  const int type = bpp == 8 ? CV_8UC1 : bpp == 24 ? CV_8UC3 : CV_8UC4;
  const std::size_t stride = p.lpbmih->biSizeImage / static_cast<std::size_t>(p.lpbmih->biHeight);
  return cv::Mat(p.lpbmih->biHeight, p.lpbmih->biWidth, type, p.lpBits, stride);
}
#endif

void BM_Colour_EqualizeHistogram(benchmark::State& state) {
  const int bpp = static_cast<int>(state.range(0));
  CLamina img = MakePicture(bpp);
  for (auto _ : state) benchmark::DoNotOptimize(img.fnIMG_EqualizeHistogram(0, 0));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_EqualizeHistogram)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

// The colour models on true colour: each distinct colour is converted there and back once.
void BM_Colour_EqualizeHistogramModel(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  lamina_bench::TimeOnCopies(state, MakePicture(24, 1024, 1024),
                             [model](CLamina& img) { return img.fnIMG_EqualizeHistogram(model, 0); });
  SetPixelRate(state, 1024 * 1024);
}
BENCHMARK(BM_Colour_EqualizeHistogramModel)->Arg(3)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_Colour_Split(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  CLamina img = MakePicture(24);
  CLamina a(nullptr, nullptr, kSide, kSide, 8), b(a), c(a), d(a);
  for (auto _ : state) benchmark::DoNotOptimize(img.fnIMG_Split(model, &a, &b, &c, &d));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_Split)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Arg(7)
    ->Arg(8)
    ->Arg(9)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);

void BM_Colour_NonLinearContrast(benchmark::State& state) {
  CLamina img = MakePicture(24);
  for (auto _ : state) benchmark::DoNotOptimize(img.fnIMG_NonLinearContrast(0, 0, 0.5f));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_NonLinearContrast)->Unit(benchmark::kMillisecond);

void BM_Colour_NonLinearContrastModel(benchmark::State& state) {
  const int model = static_cast<int>(state.range(0));
  lamina_bench::TimeOnCopies(state, MakePicture(24, 1024, 1024), [model](CLamina& img) {
    return img.fnIMG_NonLinearContrast(model, 5, 0.5f);
  });
  SetPixelRate(state, 1024 * 1024);
}
BENCHMARK(BM_Colour_NonLinearContrastModel)->Arg(3)->Arg(9)->Unit(benchmark::kMillisecond);

// Single colours there and back through every model (65536 colours per iteration).
void BM_Colour_Conversions(benchmark::State& state) {
  CLamina img;
  unsigned sum = 0;
  for (auto _ : state) {
    for (unsigned i = 0; i < 65536; ++i) {
      const RGBQUAD c{BYTE(i), BYTE(i >> 8), BYTE(i * 7), 0};
      sum += img.fnIMG_CMYKToRGB(img.fnIMG_RGBToCMYK(c, 1), 1).rgbRed;
      sum += img.fnIMG_HSIToRGB(img.fnIMG_RGBToHSI(c, 1), 1).rgbRed;
      sum += img.fnIMG_HSVToRGB(img.fnIMG_RGBToHSV(c, 1), 1).rgbRed;
      sum += img.fnIMG_HSLToRGB(img.fnIMG_RGBToHSL(c, 1), 1).rgbRed;
      sum += img.fnIMG_YIQToRGB(img.fnIMG_RGBToYIQ(c, 1), 1).rgbRed;
      sum += img.fnIMG_YUVToRGB(img.fnIMG_RGBToYUV(c, 1), 1).rgbRed;
      sum += img.fnIMG_YCbCrToRGB(img.fnIMG_RGBToYCbCr(c, 1), 1).rgbRed;
      sum += img.fnIMG_XYZToRGB(img.fnIMG_RGBToXYZ(c, 1), 1).rgbRed;
      sum += img.fnIMG_LABToRGB(img.fnIMG_RGBToLAB(c, 1), 1).rgbRed;
      sum += img.fnIMG_LUVToRGB(img.fnIMG_RGBToLUV(c, 1), 1).rgbRed;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["colours/s"] =
      benchmark::Counter(65536.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Colour_Conversions)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
void BM_Colour_Peer_CvEqualizeHist(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina img = MakePicture(8);
  cv::Mat m = ColourMat(img);
  for (auto _ : state) {
    cv::equalizeHist(m, m);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_Peer_CvEqualizeHist)->Unit(benchmark::kMillisecond);

void BM_Colour_Peer_CvSplit(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina img = MakePicture(24);
  cv::Mat m = ColourMat(img);
  std::vector<cv::Mat> planes(3);
  for (int i = 0; i < 3; ++i) planes[i].create(kSide, kSide, CV_8UC1);
  for (auto _ : state) {
    cv::split(m, planes.data());
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_Peer_CvSplit)->Unit(benchmark::kMillisecond);

void BM_Colour_Peer_CvCvtColorHsv(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina img = MakePicture(24);
  cv::Mat m = ColourMat(img);
  cv::Mat hsv(kSide, kSide, CV_8UC3);
  for (auto _ : state) {
    cv::cvtColor(m, hsv, cv::COLOR_BGR2HSV_FULL);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_Peer_CvCvtColorHsv)->Unit(benchmark::kMillisecond);

void BM_Colour_Peer_CvLut(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina img = MakePicture(24);
  cv::Mat m = ColourMat(img);
  cv::Mat lut(1, 256, CV_8UC1);
  for (int i = 0; i < 256; ++i) lut.at<std::uint8_t>(i) = static_cast<std::uint8_t>(i * i / 255);
  for (auto _ : state) {
    cv::LUT(m, lut, m);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_Peer_CvLut)->Unit(benchmark::kMillisecond);
#else
void BM_Colour_Floor_Memcpy(benchmark::State& state) {
  MemcpyFloor(state, static_cast<std::size_t>(kPixels) * static_cast<std::size_t>(state.range(0)));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Colour_Floor_Memcpy)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
