// BMP load from a buffer and save to a file, 4096 x 4096 at 8 and 24 bits, each beside a memcpy of
// the same bytes. Loading is one header check and one copy into a fresh block, so its floor is the
// copy; what it pays on top is mostly the first touch of the new block's pages.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "CLamina.h"
#include "bench_common.h"
#include "lamina/cfile.h"
#include "lamina/memory.h"

namespace {

using lamina_bench::kSide;

std::string ScratchFile() {
  struct stat st;
  const char* dir = (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode)) ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/lamina_bmp_bench.bmp";
}

std::vector<std::uint8_t> FileBytes(int bpp) {
  CLamina img = lamina_bench::MakePicture(bpp);
  const std::string path = ScratchFile();
  img.fnIMG_SaveBMP(CString(path));
  std::vector<std::uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
    std::fclose(f);
  }
  std::remove(path.c_str());
  return bytes;
}

void BM_BmpLoadBuffer(benchmark::State& state) {
  std::vector<std::uint8_t> file = FileBytes(static_cast<int>(state.range(0)));
  CLamina img;
  for (auto _ : state) {
    if (img.fnIMG_LoadBMPFromBuffer(file.data(), static_cast<int>(file.size())) != 0) {
      state.SkipWithError("load failed");
      break;
    }
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(file.size()) * state.iterations());
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}

// A new image every time: the block is allocated afresh and its pages fault in during the copy.
void BM_BmpLoadBufferFreshImage(benchmark::State& state) {
  std::vector<std::uint8_t> file = FileBytes(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CLamina img;
    if (img.fnIMG_LoadBMPFromBuffer(file.data(), static_cast<int>(file.size())) != 0) {
      state.SkipWithError("load failed");
      break;
    }
    benchmark::DoNotOptimize(img.fnIMG_GetPointers().lpBits);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(file.size()) * state.iterations());
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}

// The floor of a load into a fresh block: allocate, copy the pixel bytes, free.
void BM_BmpFreshBlockFloor(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(kSide) * kSide * state.range(0) / 8;
  std::vector<std::uint8_t> src(bytes, 1);
  for (auto _ : state) {
    HGLOBAL h = GlobalAlloc(GHND, bytes);
    auto* dst = static_cast<std::uint8_t*>(GlobalLock(h));
    std::memcpy(dst, src.data(), bytes);
    benchmark::DoNotOptimize(dst);
    benchmark::ClobberMemory();
    GlobalUnlock(h);
    GlobalFree(h);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}

void BM_BmpSave(benchmark::State& state) {
  CLamina img = lamina_bench::MakePicture(static_cast<int>(state.range(0)));
  const std::string path = ScratchFile();
  const CString name(path);
  for (auto _ : state) {
    if (img.fnIMG_SaveBMP(name) != 0) {
      state.SkipWithError("save failed");
      break;
    }
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(img.fnIMG_GetBitmapSize()) * state.iterations());
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}

// The floor of a save: creating the file and writing the same number of bytes in one call.
void BM_BmpWriteFloor(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(kSide) * kSide * state.range(0) / 8;
  std::vector<std::uint8_t> src(bytes, 1);
  const std::string path = ScratchFile();
  for (auto _ : state) {
    CFile f;
    if (!f.Open(CString(path), CFile::modeCreate | CFile::modeWrite) ||
        f.Write(src.data(), static_cast<UINT>(bytes)) != bytes) {
      state.SkipWithError("write failed");
      break;
    }
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}

// The pixel bytes of the picture at each depth.
void BM_BmpMemcpyFloor(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(kSide) * kSide * state.range(0) / 8;
  lamina_bench::MemcpyFloor(state, bytes);
  lamina_bench::SetPixelRate(state, std::int64_t{kSide} * kSide);
}

}  // namespace

BENCHMARK(BM_BmpLoadBuffer)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpLoadBufferFreshImage)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpFreshBlockFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpSave)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpWriteFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpMemcpyFloor)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
