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

// The last large mapping freed, kept for the next large allocation it can serve. Image work frees
// and allocates blocks of the same size over and over (every conversion builds a new image and
// drops the old one), and a fresh mapping costs the system a page fault and the zeroing of every
// page: for a 48 MB image more than the conversion itself. While kept, its pages are given back to
// the system as free to take under memory pressure (MADV_FREE), so keeping it holds nothing the
// system needs; at most one mapping of at most this size is kept.
constexpr std::size_t kSpareLimit = std::size_t{256} << 20;
std::atomic<BlockRecord*> g_spare{nullptr};

// A kept mapping serves a request it holds without wasting more than a quarter of itself.
bool SpareFits(const BlockRecord* r, std::size_t total) {
  return r->mapped >= total && r->mapped - total <= r->mapped / 4;
}

void Unmap(BlockRecord* r) {
  if (r != nullptr) munmap(r, r->mapped);
}

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
    if (BlockRecord* spare = g_spare.exchange(nullptr)) {
      if (SpareFits(spare, total)) {
        spare->tag = kLiveTag;
        spare->size = bytes;
        spare->locks = 0;
        if (flags & GMEM_ZEROINIT) std::memset(spare + 1, 0, bytes);
        return spare;
      }
      BlockRecord* expected = nullptr;  // keep it for a request it fits, unless another came back
      if (!g_spare.compare_exchange_strong(expected, spare)) Unmap(spare);
    }
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
  if (mapped == 0) {
    r->~BlockRecord();
    std::free(r);
  } else if (mapped <= kSpareLimit) {
#ifdef MADV_FREE
    // Past the record's page: the record stays readable while the mapping is kept.
    constexpr std::size_t kPage = 4096;
    madvise(reinterpret_cast<std::uint8_t*>(r) + kPage, mapped - kPage, MADV_FREE);
#endif
    Unmap(g_spare.exchange(r));
  } else {
    r->~BlockRecord();
    munmap(r, mapped);
  }
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle) {
  BlockRecord* r = RecordOf(handle);
  return r == nullptr ? 0 : r->size;
}
