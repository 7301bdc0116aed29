// Movable memory on the C heap. A handle is the address of a small record that sits right before
// the block's bytes; GlobalHandle finds it back from the address. Nothing ever moves, which
// satisfies the contract (the address stays fixed while locked), and a tag in the record lets the
// functions refuse pointers that are not handles.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "lamina/memory.h"
#include "platform/memory_internal.h"

namespace {

constexpr std::uint64_t kLiveTag = 0x4C414D494E41424Bull;  // "LAMINABK"
constexpr std::uint64_t kFreedTag = 0x4C414D494E414652ull;

struct alignas(16) BlockRecord {
  std::uint64_t tag;
  std::size_t size;
  long locks;
  long reserved;
};
static_assert(sizeof(BlockRecord) % 16 == 0, "block bytes stay 16-byte aligned");

std::atomic<long> g_failAfter{-1};

bool ShouldFail() {
  long n = g_failAfter.load();
  while (n >= 0) {
    if (n == 0) return true;
    if (g_failAfter.compare_exchange_weak(n, n - 1)) return false;
  }
  return false;
}

// Large blocks are whole images that are about to be written end to end. Asking for huge pages
// lets the first touch of each 2 MiB fault once instead of 512 times, which on big pictures costs
// more than the work itself. Only a hint: without it (or where it is refused) nothing changes.
void AdviseHugePages(void* raw, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
  if (bytes < 2 * kHuge) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kHuge - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)raw;
  (void)bytes;
#endif
}

BlockRecord* RecordOf(HGLOBAL handle) {
  if (handle == nullptr) return nullptr;
  auto* r = static_cast<BlockRecord*>(handle);
  return r->tag == kLiveTag ? r : nullptr;
}

}  // namespace

namespace lamina {
namespace platform {
void FailAllocationsAfter(long n) { g_failAfter.store(n); }
}  // namespace platform
}  // namespace lamina

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (ShouldFail()) return nullptr;
  if (bytes > SIZE_MAX - sizeof(BlockRecord)) return nullptr;
  void* raw = (flags & GMEM_ZEROINIT) ? std::calloc(1, sizeof(BlockRecord) + bytes)
                                      : std::malloc(sizeof(BlockRecord) + bytes);
  if (raw == nullptr) return nullptr;
  AdviseHugePages(raw, sizeof(BlockRecord) + bytes);
  auto* r = new (raw) BlockRecord{kLiveTag, bytes, 0, 0};
  return r;
}

LPVOID GlobalLock(HGLOBAL handle) {
  BlockRecord* r = RecordOf(handle);
  if (r == nullptr) return nullptr;
  ++r->locks;
  return r + 1;
}

BOOL GlobalUnlock(HGLOBAL handle) {
  BlockRecord* r = RecordOf(handle);
  if (r == nullptr || r->locks == 0) return FALSE;
  --r->locks;
  return r->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalHandle(LPCVOID address) {
  if (address == nullptr) return nullptr;
  auto* r = reinterpret_cast<BlockRecord*>(const_cast<void*>(address)) - 1;
  return r->tag == kLiveTag ? r : nullptr;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
  BlockRecord* r = RecordOf(handle);
  if (r == nullptr) return handle;
  r->tag = kFreedTag;
  r->~BlockRecord();
  std::free(r);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  BlockRecord* r = RecordOf(handle);
  return r == nullptr ? 0 : r->size;
}
