// Point adjustments and the linear transform against cv::LUT (single-threaded) at the same depth,
// or the memcpy floor.
#include <benchmark/benchmark.h>

#include "intensity_bench_util.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

using namespace lamina_bench;

namespace {

int Bpp(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BM_Intensity_Brightness(benchmark::State& state) {
  RunInPlace(state, Bpp(state), true, [](CLamina& i) { i.fnIMG_Brightness(30); });
}
BENCHMARK(BM_Intensity_Brightness)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_Balance(benchmark::State& state) {
  RunInPlace(state, Bpp(state), true, [](CLamina& i) { i.fnIMG_Balance(20, -10, 5); });
}
BENCHMARK(BM_Intensity_Balance)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_Gamma(benchmark::State& state) {
  RunInPlace(state, Bpp(state), true, [](CLamina& i) { i.fnIMG_Gamma(2.2f); });
}
BENCHMARK(BM_Intensity_Gamma)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_ChangeGrayLevels(benchmark::State& state) {
  // Only gray images are quantized: the 24-bit picture is made gray first.
  RunInPlace(
      state, Bpp(state), true, [](CLamina& i) { i.fnIMG_ChangeGrayLevelsNumber(5); }, false, true);
}
BENCHMARK(BM_Intensity_ChangeGrayLevels)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_Negative(benchmark::State& state) {
  // Applying the negative twice gives the picture back: no restore needed.
  RunInPlace(state, Bpp(state), false, [](CLamina& i) { i.fnIMG_Negative(); });
}
BENCHMARK(BM_Intensity_Negative)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_NegativeChannels(benchmark::State& state) {
  // Red alone turns a gray palette into a colour one, so a second call would take another way:
  // restore.
  RunInPlace(state, Bpp(state), true,
             [](CLamina& i) { i.fnIMG_Negative(CLamina::CualesRGB{1, 1, 0, 0}); });
}
BENCHMARK(BM_Intensity_NegativeChannels)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_Slicing(benchmark::State& state) {
  RunInPlace(state, Bpp(state), true,
             [](CLamina& i) { i.fnIMG_GrayLevelSlicing(0, 64, 192, 255, 0); });
}
BENCHMARK(BM_Intensity_Slicing)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_LinearTransform(benchmark::State& state) {
  // 8 bits: the gray index; 24 bits: the three channels.
  const CLamina::CualesRGB flags =
      Bpp(state) == 8 ? CLamina::CualesRGB{1, 0, 0, 0} : CLamina::CualesRGB{0, 1, 1, 1};
  RunInPlace(state, Bpp(state), true,
             [&](CLamina& i) { i.fnIMG_GrayScaleLinealTransform(50, 200, 0, 255, flags); });
}
BENCHMARK(BM_Intensity_LinearTransform)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Intensity_LinearTransformGray24(benchmark::State& state) {
  RunInPlace(state, 24, true, [](CLamina& i) {
    i.fnIMG_GrayScaleLinealTransform(50, 200, 0, 255, CLamina::CualesRGB{1, 0, 0, 0});
  });
}
BENCHMARK(BM_Intensity_LinearTransformGray24)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
void BM_Intensity_Peer_CvLUT(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina img = MakePicture(Bpp(state));
  cv::Mat src = AsMat(img);
  cv::Mat lut(1, 256, CV_8UC1);
  for (int i = 0; i < 256; ++i) lut.at<unsigned char>(i) = static_cast<unsigned char>(255 - i);
  cv::Mat dst(src.size(), src.type());
  for (auto _ : state) {
    cv::LUT(src, lut, dst);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_Peer_CvLUT)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#else
void BM_Intensity_PointFloor(benchmark::State& state) {
  MemcpyFloor(state, std::size_t{kSide} * kSide * static_cast<std::size_t>(Bpp(state) / 8));
  SetPixelRate(state, std::int64_t{kSide} * kSide);
}
BENCHMARK(BM_Intensity_PointFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
