// Rotation, scaling, the scotoma zoom, the functional mapping and the distortion effects on
// 4096 x 4096 pictures, beside a memcpy of the same bytes and, when OpenCV is present, the nearest
// OpenCV operation run single-threaded in this process: cv::warpAffine for the rotation, cv::resize
// for the scaling, cv::remap for the mapping and cv::blur for the mosaic, all with nearest-pixel
// sampling where they sample. Operations that replace the picture run on a fresh copy each time;
// putting the copy back is not timed. OpenCV writes into a destination allocated once, while every
// Lamina operation that builds an image allocates its new block in the timed region.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "CLamina.h"
#include "bench_common.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

using lamina_bench::kSide;
using lamina_bench::MakePicture;
using lamina_bench::SetPixelRate;
using lamina_bench::TimeOnCopies;

namespace {

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

int Bpp(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BM_Rotation(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(1));
  TimeOnCopies(state, MakePicture(Bpp(state)),
               [mode](CLamina& img) { return img.fnIMG_Rotation(mode, 30.0, 0x000000); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Rotation)
    ->ArgNames({"bpp", "mode"})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Args({32, 1})
    ->Args({1, 1})
    ->Args({8, 0})
    ->Unit(benchmark::kMillisecond);

void BM_RotationTilt(benchmark::State& state) {
  TimeOnCopies(state, MakePicture(Bpp(state)),
               [](CLamina& img) { return img.fnIMG_Rotation(1, 20.0, 30.0, 0.0, 0x000000); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RotationTilt)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

// Factor x 1000: 2000 doubles the picture, 500 halves it.
void BM_Scaling(benchmark::State& state) {
  const float factor = static_cast<float>(state.range(1)) / 1000.0f;
  TimeOnCopies(state, MakePicture(Bpp(state)),
               [factor](CLamina& img) { return img.fnIMG_Scaling(factor, factor, 0); });
  SetPixelRate(state, static_cast<std::int64_t>(kPixels * double(factor) * factor));
}
BENCHMARK(BM_Scaling)
    ->ArgNames({"bpp", "permille"})
    ->Args({8, 2000})
    ->Args({8, 500})
    ->Args({24, 2000})
    ->Args({24, 500})
    ->Args({32, 2000})
    ->Args({1, 2000})
    ->Unit(benchmark::kMillisecond);

void BM_TransformationIdentity(benchmark::State& state) {
  CLamina img = MakePicture(Bpp(state));
  // The identity gives the picture back, so the same image serves every iteration.
  const std::function<int(int, int)> column = [](int x, int) { return x; };
  const std::function<int(int, int)> row = [](int, int y) { return y; };
  for (auto _ : state) {
    benchmark::DoNotOptimize(img.transformation(column, row));
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_TransformationIdentity)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_Mosaic(benchmark::State& state) {
  TimeOnCopies(state, MakePicture(Bpp(state)), [](CLamina& img) { return img.fnIMG_Mosaic(8, 8); });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_Mosaic)->Arg(8)->Arg(24)->Arg(32)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ScotomaZoom(benchmark::State& state) {
  const int room = static_cast<int>(state.range(1));
  TimeOnCopies(state, MakePicture(Bpp(state)), [room](CLamina& img) {
    return img.fnIMG_ScotomaZoom(0, 2048, 2048, 300, 300, 2047, 2047, room, 1, 0);
  });
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_ScotomaZoom)
    ->ArgNames({"bpp", "room"})
    ->Args({8, 0})
    ->Args({8, 1})
    ->Args({24, 1})
    ->Unit(benchmark::kMillisecond);

void BM_Distortion(benchmark::State& state) {
  const int which = static_cast<int>(state.range(1));
  TimeOnCopies(state, MakePicture(Bpp(state)), [which](CLamina& img) {
    switch (which) {
      case 0:
        return img.fnIMG_Ellipse();
      case 1:
        return img.fnIMG_Undulation(20, 100, 0, 0);
      case 2:
        return img.fnIMG_Spiral(200.0, 2000);
      case 3:
        return img.fnIMG_Inclination(0, 20.0, 0);
      case 5:
        return img.fnIMG_Emboss(3);
      default:
        return img.fnIMG_Hoover(0, 2048, 2048, 20);
    }
  });
  SetPixelRate(state, kPixels);
}
// 0 ellipse, 1 undulation, 2 spiral, 3 inclination, 4 hoover (one million samples), 5 emboss
BENCHMARK(BM_Distortion)
    ->ArgNames({"bpp", "effect"})
    ->Args({8, 0})
    ->Args({8, 1})
    ->Args({8, 2})
    ->Args({8, 3})
    ->Args({8, 4})
    ->Args({8, 5})
    ->Args({24, 2})
    ->Unit(benchmark::kMillisecond);

void BM_GeometryFloorMemcpy(benchmark::State& state) {
  lamina_bench::MemcpyFloor(state, static_cast<std::size_t>(kPixels * Bpp(state) / 8));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_GeometryFloorMemcpy)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
cv::Mat Picture(int bpp, int side = kSide) {
  cv::Mat m(side, side, CV_8UC(bpp / 8));
  cv::randu(m, 0, 255);
  return m;
}

// The rotation about the centre by 30 degrees, the same size kept.
void BM_RotationOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat src = Picture(Bpp(state));
  cv::Mat dst(kSide, kSide, src.type());
  const cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(kSide / 2.0f, kSide / 2.0f), 30.0, 1.0);
  for (auto _ : state) {
    cv::warpAffine(src, dst, m, dst.size(), cv::INTER_NEAREST, cv::BORDER_CONSTANT);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RotationOpenCV)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);

void BM_ScalingOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const double factor = static_cast<double>(state.range(1)) / 1000.0;
  const cv::Mat src = Picture(Bpp(state));
  cv::Mat dst;
  for (auto _ : state) {
    cv::resize(src, dst, cv::Size(), factor, factor, cv::INTER_NEAREST);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, static_cast<std::int64_t>(kPixels * factor * factor));
}
BENCHMARK(BM_ScalingOpenCV)
    ->ArgNames({"bpp", "permille"})
    ->Args({8, 2000})
    ->Args({8, 500})
    ->Args({24, 2000})
    ->Args({24, 500})
    ->Args({32, 2000})
    ->Unit(benchmark::kMillisecond);

// cv::remap with identity maps (two float maps, as a caller with coordinate functions would pass).
void BM_RemapOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat src = Picture(Bpp(state));
  cv::Mat mapX(kSide, kSide, CV_32FC1), mapY(kSide, kSide, CV_32FC1), dst;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      mapX.at<float>(y, x) = static_cast<float>(x);
      mapY.at<float>(y, x) = static_cast<float>(y);
    }
  for (auto _ : state) {
    cv::remap(src, dst, mapX, mapY, cv::INTER_NEAREST, cv::BORDER_CONSTANT);
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RemapOpenCV)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_BlurOpenCV(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat src = Picture(Bpp(state));
  cv::Mat dst;
  for (auto _ : state) {
    cv::blur(src, dst, cv::Size(8, 8));
    benchmark::DoNotOptimize(dst.data);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_BlurOpenCV)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
