// RAW, PGM, palette files and handle exchange on the 4096 x 4096 8-bit picture, beside a memcpy of
// the same bytes. Files go to the system's temporary folder, or to LAMINA_BENCH_DIR when it is set.
// A file just written stays in the system's page cache, so a load measures the library and the
// page cache rather than a disk. Which file system holds the folder matters: a memory file system
// without large pages (/dev/shm on many systems) looks every 4 KiB page up on its own and reads
// about twice as slowly as a disk file system's cache that keeps large pages.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_common.h"
#include "lamina/cfile.h"
#include "lamina/memory.h"

namespace {

using namespace lamina_bench;
namespace fs = std::filesystem;

std::string Scratch(const char* name) {
  const char* chosen = std::getenv("LAMINA_BENCH_DIR");
  const fs::path dir = chosen != nullptr && *chosen != 0 ? fs::path(chosen) : fs::temp_directory_path();
  return (dir / ("lamina_bench_" + std::to_string(getpid()) + "_" + name)).string();
}

constexpr std::int64_t kPixels = std::int64_t{kSide} * kSide;

void BM_FilesMemcpyFloor(benchmark::State& state) {
  MemcpyFloor(state, static_cast<std::size_t>(kPixels));
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FilesMemcpyFloor)->Unit(benchmark::kMillisecond);

// The second floor of the file forms: reading the same bytes from the same place into a buffer
// that is already there, the part of a file load the system does.
void BM_FilesReadFloor(benchmark::State& state) {
  const std::string path = Scratch("floor.raw");
  std::vector<unsigned char> data(static_cast<std::size_t>(kPixels), 7), into(data.size());
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
  }
  for (auto _ : state) {
    CFile file;
    file.Open(CString(path), CFile::modeRead);
    benchmark::DoNotOptimize(file.Read(into.data(), static_cast<UINT>(into.size())));
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_FilesReadFloor)->Unit(benchmark::kMillisecond);

void BM_RawLoadFile(benchmark::State& state) {
  const std::string path = Scratch("load.raw");
  CLamina src = MakePicture(8);
  src.fnIMG_SaveRAW(CString(path));
  CLamina img;
  for (auto _ : state) {
    if (img.fnIMG_LoadRAW(CString(path), kSide, kSide) != 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RawLoadFile)->Unit(benchmark::kMillisecond);

void BM_RawLoadBuffer(benchmark::State& state) {
  // The largest size of the length table, 1024 x 1024.
  std::vector<unsigned char> data(1048576);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 13);
  CLamina img;
  for (auto _ : state) {
    img.fnIMG_LoadRAWFromBuffer(data.data(), 1048576);
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  SetPixelRate(state, 1048576);
}
BENCHMARK(BM_RawLoadBuffer)->Unit(benchmark::kMillisecond);

void BM_RawSaveGray8(benchmark::State& state) {
  const std::string path = Scratch("save.raw");
  CLamina img = MakePicture(8);
  for (auto _ : state) {
    if (img.fnIMG_SaveRAW(CString(path)) != 0) state.SkipWithError("save failed");
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RawSaveGray8)->Unit(benchmark::kMillisecond);

// The same into a file that does not exist yet, so the system allocates every page of it.
void BM_RawSaveGray8NewFile(benchmark::State& state) {
  const std::string path = Scratch("savenew.raw");
  CLamina img = MakePicture(8);
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
    if (img.fnIMG_SaveRAW(CString(path)) != 0) state.SkipWithError("save failed");
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RawSaveGray8NewFile)->Unit(benchmark::kMillisecond);

void BM_RawSaveColour24(benchmark::State& state) {
  const std::string path = Scratch("save24.raw");
  CLamina img = MakePicture(24);
  for (auto _ : state) img.fnIMG_SaveRAW(CString(path));
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_RawSaveColour24)->Unit(benchmark::kMillisecond);

std::vector<unsigned char> PgmBytes() {
  const std::string header = "P5\n# bench\n4096 4096\n255\n";
  std::vector<unsigned char> data(header.begin(), header.end());
  data.resize(header.size() + static_cast<std::size_t>(kPixels));
  for (std::size_t i = header.size(); i < data.size(); ++i)
    data[i] = static_cast<unsigned char>(i * 7);
  return data;
}

void BM_PgmLoadBuffer(benchmark::State& state) {
  std::vector<unsigned char> data = PgmBytes();
  CLamina img;
  for (auto _ : state) {
    img.fnIMG_LoadPGMFromBuffer(data.data(), static_cast<int>(data.size()));
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_PgmLoadBuffer)->Unit(benchmark::kMillisecond);

void BM_PgmLoadFile(benchmark::State& state) {
  const std::string path = Scratch("load.pgm");
  const std::vector<unsigned char> data = PgmBytes();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
  }
  CLamina img;
  for (auto _ : state) {
    if (img.fnIMG_LoadPGM(CString(path)) != 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  std::remove(path.c_str());
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_PgmLoadFile)->Unit(benchmark::kMillisecond);

void BM_HandleRoundTrip(benchmark::State& state) {
  CLamina src = MakePicture(8);
  CLamina dst;
  for (auto _ : state) {
    void* h = src.fnIMG_CopyToHandle();
    dst.fnIMG_CopyFromHandle(h);
    GlobalFree(h);
    benchmark::DoNotOptimize(dst.fnIMG_GetPointers().lpBits);
  }
  SetPixelRate(state, kPixels);
}
BENCHMARK(BM_HandleRoundTrip)->Unit(benchmark::kMillisecond);

void BM_HandleFrom32Bits(benchmark::State& state) {
  // Each pass reduces a fresh 32-bit copy, since the reduction happens in the caller's handle.
  CLamina src = MakePicture(32, 1024, 1024);
  CLamina dst;
  for (auto _ : state) {
    void* h = src.fnIMG_CopyToHandle();
    dst.fnIMG_CopyFromHandle(h);
    GlobalFree(h);
  }
  SetPixelRate(state, 1024 * 1024);
}
BENCHMARK(BM_HandleFrom32Bits)->Unit(benchmark::kMillisecond);

void BM_PaletteSaveLoad(benchmark::State& state) {
  const std::string path = Scratch("p.pal");
  CLamina img = MakePicture(8, 16, 16, true);
  for (auto _ : state) {
    img.fnIMG_SavePalette(CString(path));
    img.fnIMG_LoadPalette(CString(path));
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_PaletteSaveLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
