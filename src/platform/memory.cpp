// Movable memory on the C heap. A handle is the address of a small record that sits right before
// the block's bytes; GlobalHandle finds it back from the address. Nothing ever moves, which
// satisfies the contract (the address stays fixed while locked), and a tag in the record lets the
// functions refuse pointers that are not handles.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

#include "lamina/memory.h"
#include "platform/memory_internal.h"

namespace {

constexpr std::uint64_t kLiveTag = 0x4C414D494E41424Bull;  // "LAMINABK"
constexpr std::uint64_t kFreedTag = 0x4C414D494E414652ull;

struct alignas(16) BlockRecord {
  std::uint64_t tag;
  std::size_t size;
  long locks;
  std::size_t mapped;  // bytes mapped for a large block, 0 for a block from the C heap
};

// Blocks from this size up get their own mapping with transparent huge pages. The C heap maps every
// block this large afresh (it keeps smaller freed blocks for reuse), and a fresh 48 MB image in 4 KB
// pages costs some 12000 page faults, several times the cost of copying its pixels; in 2 MB pages
// it costs 24.
constexpr std::size_t kLargeBlock = std::size_t{32} << 20;
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

BlockRecord* RecordOf(HGLOBAL handle) {
  if (handle == nullptr) return nullptr;
  auto* r = static_cast<BlockRecord*>(handle);
  return r->tag == kLiveTag ? r : nullptr;
}

}  // namespace

namespace lamina {
namespace platform {
void FailAllocationsAfter(long n) { g_failAfter.store(n); }

void* ShrinkLockedBlock(void* address, SIZE_T bytes) {
  // Only the size the block reports changes: giving the tail back (realloc, or unmapping pages)
  // costs more than the operation that shrinks the block, and the tail is freed with the block.
  BlockRecord* r = RecordOf(GlobalHandle(address));
  if (r != nullptr && bytes <= r->size) r->size = bytes;
  return address;
}

}  // namespace platform
}  // namespace lamina

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (ShouldFail()) return nullptr;
  if (bytes > SIZE_MAX - sizeof(BlockRecord)) return nullptr;
  const std::size_t total = sizeof(BlockRecord) + bytes;
  if (total >= kLargeBlock) {
    // Anonymous mappings come zero-filled, so GMEM_ZEROINIT costs nothing here.
    void* raw = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(raw, total, MADV_HUGEPAGE);
#endif
    return new (raw) BlockRecord{kLiveTag, bytes, 0, total};
  }
  void* raw = (flags & GMEM_ZEROINIT) ? std::calloc(1, total) : std::malloc(total);
  if (raw == nullptr) return nullptr;
  return new (raw) BlockRecord{kLiveTag, bytes, 0, 0};
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
  const std::size_t mapped = r->mapped;
  r->~BlockRecord();
  if (mapped != 0)
    munmap(r, mapped);
  else
    std::free(r);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  BlockRecord* r = RecordOf(handle);
  return r == nullptr ? 0 : r->size;
}
