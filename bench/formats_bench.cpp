// PNG and JPEG through Lamina::formats on the 4096 x 4096 24-bit picture (and the 8-bit one for a
// palette PNG), beside OpenCV's imencode/imdecode and imwrite/imread run single-threaded when it is
// installed. Both sides use the system's libpng and libjpeg, so the difference is the glue: row
// handling, memory, and for PNG the compression settings (libpng's default level 6 here; OpenCV's
// default is level 1, shown beside a run at level 6). Files go to the system's temporary folder,
// or to LAMINA_BENCH_DIR when it is set.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_common.h"
#include "lamina/formats.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#endif

namespace {

using namespace lamina_bench;
namespace formats = lamina::formats;
namespace fs = std::filesystem;

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

std::string Scratch(const char* name) {
  const char* chosen = std::getenv("LAMINA_BENCH_DIR");
  const fs::path dir = chosen != nullptr && *chosen != 0 ? fs::path(chosen) : fs::temp_directory_path();
  return (dir / ("lamina_bench_" + std::to_string(getpid()) + "_" + name)).string();
}

void BM_FormatsMemcpyFloor(benchmark::State& state) {
  MemcpyFloor(state, static_cast<std::size_t>(kPixels) * 3);
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FormatsMemcpyFloor)->Unit(benchmark::kMillisecond);

void BM_PngSaveBuffer(benchmark::State& state) {
  CLamina img = MakePicture(static_cast<int>(state.range(0)));
  std::vector<unsigned char> out;
  for (auto _ : state)
    if (formats::SavePNGToBuffer(img, out) != 0) state.SkipWithError("save failed");
  state.counters["bytes"] = static_cast<double>(out.size());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_PngSaveBuffer)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_PngLoadBuffer(benchmark::State& state) {
  CLamina src = MakePicture(static_cast<int>(state.range(0)));
  std::vector<unsigned char> file;
  formats::SavePNGToBuffer(src, file);
  CLamina img;
  for (auto _ : state) {
    if (formats::LoadPNGFromBuffer(img, file.data(), file.size()) != 0)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_PngLoadBuffer)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_PngFileRoundTrip(benchmark::State& state) {
  const std::string path = Scratch("a.png");
  CLamina img = MakePicture(24);
  for (auto _ : state) {
    if (formats::SavePNG(img, CString(path)) != 0 || formats::LoadPNG(img, CString(path)) != 0)
      state.SkipWithError("round trip failed");
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_PngFileRoundTrip)->Unit(benchmark::kMillisecond);

void BM_JpegSaveBuffer(benchmark::State& state) {
  CLamina img = MakePicture(24);
  std::vector<unsigned char> out;
  for (auto _ : state)
    if (formats::SaveJPEGToBuffer(img, out, 90) != 0) state.SkipWithError("save failed");
  state.counters["bytes"] = static_cast<double>(out.size());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_JpegSaveBuffer)->Unit(benchmark::kMillisecond);

void BM_JpegLoadBuffer(benchmark::State& state) {
  CLamina src = MakePicture(24);
  std::vector<unsigned char> file;
  formats::SaveJPEGToBuffer(src, file, 90);
  CLamina img;
  for (auto _ : state) {
    if (formats::LoadJPEGFromBuffer(img, file.data(), file.size()) != 0)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_JpegLoadBuffer)->Unit(benchmark::kMillisecond);

void BM_JpegFileRoundTrip(benchmark::State& state) {
  const std::string path = Scratch("a.jpg");
  CLamina img = MakePicture(24);
  for (auto _ : state) {
    if (formats::SaveJPEG(img, CString(path), 90) != 0 || formats::LoadJPEG(img, CString(path)) != 0)
      state.SkipWithError("round trip failed");
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_JpegFileRoundTrip)->Unit(benchmark::kMillisecond);

#ifdef LAMINA_HAVE_OPENCV
// The same picture as an OpenCV matrix (blue, green, red rows from the top).
cv::Mat PictureMat(int bpp) {
  CLamina img = MakePicture(bpp);
  cv::Mat m(kSide, kSide, bpp == 24 ? CV_8UC3 : CV_8UC1);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  const std::size_t stride = static_cast<std::size_t>(kSide) * (bpp / 8);
  for (int y = 0; y < kSide; ++y)
    std::memcpy(m.ptr(y), p.lpBits + stride * static_cast<std::size_t>(kSide - 1 - y), stride);
  return m;
}

void BM_OpenCvPngEncode(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat m = PictureMat(24);
  std::vector<unsigned char> out;
  const std::vector<int> params = {cv::IMWRITE_PNG_COMPRESSION, static_cast<int>(state.range(0))};
  for (auto _ : state) cv::imencode(".png", m, out, params);
  state.counters["bytes"] = static_cast<double>(out.size());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_OpenCvPngEncode)->Arg(1)->Arg(6)->Unit(benchmark::kMillisecond);

// Decoders are timed on the same bytes: the file our writer made.
void BM_OpenCvPngDecode(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina src = MakePicture(24);
  std::vector<unsigned char> file;
  formats::SavePNGToBuffer(src, file);
  for (auto _ : state) benchmark::DoNotOptimize(cv::imdecode(file, cv::IMREAD_UNCHANGED).data);
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_OpenCvPngDecode)->Unit(benchmark::kMillisecond);

void BM_OpenCvPngFileRoundTrip(benchmark::State& state) {
  cv::setNumThreads(1);
  const std::string path = Scratch("cv.png");
  const cv::Mat m = PictureMat(24);
  for (auto _ : state) {
    cv::imwrite(path, m, {cv::IMWRITE_PNG_COMPRESSION, 6});
    benchmark::DoNotOptimize(cv::imread(path, cv::IMREAD_UNCHANGED).data);
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_OpenCvPngFileRoundTrip)->Unit(benchmark::kMillisecond);

void BM_OpenCvJpegEncode(benchmark::State& state) {
  cv::setNumThreads(1);
  const cv::Mat m = PictureMat(24);
  std::vector<unsigned char> out;
  for (auto _ : state) cv::imencode(".jpg", m, out, {cv::IMWRITE_JPEG_QUALITY, 90});
  state.counters["bytes"] = static_cast<double>(out.size());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_OpenCvJpegEncode)->Unit(benchmark::kMillisecond);

void BM_OpenCvJpegDecode(benchmark::State& state) {
  cv::setNumThreads(1);
  CLamina src = MakePicture(24);
  std::vector<unsigned char> file;
  formats::SaveJPEGToBuffer(src, file, 90);
  for (auto _ : state) benchmark::DoNotOptimize(cv::imdecode(file, cv::IMREAD_UNCHANGED).data);
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_OpenCvJpegDecode)->Unit(benchmark::kMillisecond);

void BM_OpenCvJpegFileRoundTrip(benchmark::State& state) {
  cv::setNumThreads(1);
  const std::string path = Scratch("cv.jpg");
  const cv::Mat m = PictureMat(24);
  for (auto _ : state) {
    cv::imwrite(path, m, {cv::IMWRITE_JPEG_QUALITY, 90});
    benchmark::DoNotOptimize(cv::imread(path, cv::IMREAD_UNCHANGED).data);
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_OpenCvJpegFileRoundTrip)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
