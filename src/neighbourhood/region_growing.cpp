// fnIMG_RegionGrowing: grows a region from a seed pixel and paints it. A pixel joins when it is an
// 8-neighbour of a pixel already in the region, its value (the index, or the red byte at 24 and 32
// bits) differs from the seed's by at most the tolerance, and its distance from the seed
// (city-block or chessboard) is at most the generation count, which rises by one per generation.
//
// The growth runs on a map of one byte per pixel, framed by a border of pixels that never
// qualify: whether the pixel's value is close enough to the seed's (worked out once, in one pass),
// and whether it has been queued. Under the city-block distance the generations matter and are
// followed one by one: the queue is one ring of points that grows by doubling, the generation in
// hand at its head and the next one behind it, so nothing is allocated per point and a flat
// 16-megapixel image needs only its map and a queue as long as the growth front. Under the
// chessboard distance no pixel is ever too far, the region is the 8-connected set of close pixels,
// and whole spans of rows are taken at once. Painted pixels are never read again and queued ones
// never examined again, so the region does not depend on when a pixel is painted: the map records
// it, and the region is painted in one pass at the end, which also means that running out of
// memory part-way leaves the image as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/block_access.h"
#include "core/pixel_access.h"
#include "intensity/intensity.h"
#include "neighbourhood/codes.h"
#include "neighbourhood/neighbourhood.h"
#include "neighbourhood/working_copy.h"

namespace lamina {
namespace neighbourhood {
namespace {

using std::size_t;

// The map's values.
constexpr std::uint8_t kOpen = 0;    // close enough to the seed, not yet queued
constexpr std::uint8_t kQueued = 1;  // in the region (queued, painted at the end)
constexpr std::uint8_t kClosed = 2;  // too far from the seed's value, or outside the image

struct Point {
  std::int32_t x, y;
};

// A first-in first-out ring of points; its capacity is a power of two.
struct PointRing {
  PointRing() = default;
  ~PointRing() { BlockAccess::Release(block); }
  PointRing(const PointRing&) = delete;
  PointRing& operator=(const PointRing&) = delete;

  // False when memory runs out.
  bool Reserve(size_t wanted) {
    std::uint8_t* grown = BlockAccess::Allocate(wanted * sizeof(Point), /*zero=*/false);
    if (grown == nullptr) return false;
    Point* to = reinterpret_cast<Point*>(grown);
    for (size_t i = 0; i < size; ++i) to[i] = points[(head + i) & (capacity - 1)];
    BlockAccess::Release(block);
    block = grown;
    points = to;
    capacity = wanted;
    head = 0;
    return true;
  }

  std::uint8_t* block = nullptr;
  Point* points = nullptr;
  size_t capacity = 0;
  size_t head = 0;
  size_t size = 0;
};

// The value region growing compares: the index at 4 and 8 bits, the red byte at 24 and 32.
template <int B>
inline std::uint32_t Compared(const std::uint8_t* row, int x) {
  if constexpr (B <= 8)
    return Px<B>::Get(row, x);
  else
    return row[static_cast<size_t>(x) * (B / 8) + 2];
}

// Grows the region on the map by generations under the city-block distance (FillSpans serves the
// chessboard); false when the queue could not grow.
//
// A point of generation d - 1 lies within d - 1 of the seed, so its neighbours lie within d + 1:
// under the chessboard distance every neighbour is within d, and under the city-block distance so
// is every neighbour sharing an edge; only the diagonal ones can be too far.
//
// The map is written only for a pixel taken: neighbouring points share most of their neighbours,
// and rewriting every byte examined would make each point wait for the last one's stores.
bool GrowCityBlock(std::uint8_t* map, size_t pitch, int seedX, int seedY) {
  PointRing ring;
  if (!ring.Reserve(4096)) return false;
  map[static_cast<size_t>(seedY + 1) * pitch + static_cast<size_t>(seedX) + 1] = kQueued;
  ring.points[0] = Point{seedX, seedY};
  ring.size = 1;
  const std::ptrdiff_t down = static_cast<std::ptrdiff_t>(pitch);
  long long d = 1;
  size_t generation = 1;  // points left in the generation in hand
  while (generation > 0) {
    // Up to 1024 points at a time, with room for all their neighbours made beforehand.
    const size_t batch = std::min<size_t>(generation, 1024);
    size_t wanted = ring.capacity;
    while (ring.size + 8 * batch > wanted) wanted *= 2;
    if (wanted != ring.capacity && !ring.Reserve(wanted)) return false;
    Point* const points = ring.points;
    const size_t mask = ring.capacity - 1;
    size_t head = ring.head, size = ring.size;
    for (size_t k = 0; k < batch; ++k) {
      const Point p = points[head];
      head = (head + 1) & mask;
      --size;
      std::uint8_t* centre =
          map + static_cast<size_t>(p.y + 1) * pitch + static_cast<size_t>(p.x) + 1;
      // Distances of the columns and rows either side of p.
      const long long left = std::llabs(static_cast<long long>(p.x) - 1 - seedX);
      const long long right = std::llabs(static_cast<long long>(p.x) + 1 - seedX);
      const long long up = std::llabs(static_cast<long long>(p.y) - 1 - seedY);
      const long long below = std::llabs(static_cast<long long>(p.y) + 1 - seedY);
      auto visit = [&](std::ptrdiff_t offset, int dx, int dy, bool near) {
        std::uint8_t& m = centre[offset];
        if ((m == kOpen) & near) {
          m = kQueued;
          points[(head + size++) & mask] = Point{p.x + dx, p.y + dy};
        }
      };
      visit(-down - 1, -1, -1, left + up <= d);
      visit(-down, 0, -1, true);
      visit(-down + 1, 1, -1, right + up <= d);
      visit(-1, -1, 0, true);
      visit(1, 1, 0, true);
      visit(down - 1, -1, 1, left + below <= d);
      visit(down, 0, 1, true);
      visit(down + 1, 1, 1, right + below <= d);
    }
    ring.head = head;
    ring.size = size;
    generation -= batch;
    if (generation == 0) {
      generation = ring.size;
      ++d;
    }
  }
  return true;
}

// ---- Chessboard growth by spans -----------------------------------------------------------

// Under the chessboard distance no neighbour is ever too far (see GrowCityBlock), so the region is
// the 8-connected set of open pixels around the seed, whatever the order of the growth. Spans find
// it at a few byte tests per pixel: a whole run of a row is queued at once, and the rows above and
// below are searched for open runs over the span and one pixel either side.

// A last-in first-out stack of map positions that doubles when full.
class Stack {
 public:
  Stack() = default;
  ~Stack() { BlockAccess::Release(block_); }
  Stack(const Stack&) = delete;
  Stack& operator=(const Stack&) = delete;
  bool Push(size_t at) {
    if (size_ == capacity_ && !Grow()) return false;
    items_[size_++] = at;
    return true;
  }
  bool Empty() const { return size_ == 0; }
  size_t Pop() { return items_[--size_]; }

 private:
  bool Grow() {
    const size_t wanted = capacity_ == 0 ? 1024 : 2 * capacity_;
    std::uint8_t* grown = BlockAccess::Allocate(wanted * sizeof(size_t), /*zero=*/false);
    if (grown == nullptr) return false;
    if (size_ > 0) std::memcpy(grown, items_, size_ * sizeof(size_t));
    BlockAccess::Release(block_);
    block_ = grown;
    items_ = reinterpret_cast<size_t*>(grown);
    capacity_ = wanted;
    return true;
  }
  std::uint8_t* block_ = nullptr;
  size_t* items_ = nullptr;
  size_t capacity_ = 0;
  size_t size_ = 0;
};

// Eight map bytes at once (the map has eight closed bytes of slack at either end).
inline std::uint64_t Eight(const std::uint8_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}
// The first position from x on that is not open (kOpen is 0). A closed frame ends every run.
inline size_t EndOfOpen(const std::uint8_t* map, size_t x) {
  for (;; x += 8)
    if (const std::uint64_t w = Eight(map + x))
      return x + static_cast<size_t>(__builtin_ctzll(w)) / 8;
}
// The first position of the open run that ends at x (map[x] open).
inline size_t StartOfOpen(const std::uint8_t* map, size_t x) {
  for (;; x -= 8)
    if (const std::uint64_t w = Eight(map + x - 7))
      return x + 1 - static_cast<size_t>(__builtin_clzll(w)) / 8;
}
// The first open position in [x, end], or end + 1.
inline size_t NextOpen(const std::uint8_t* map, size_t x, size_t end) {
  for (; x <= end; x += 8) {
    const std::uint64_t w = Eight(map + x);
    const std::uint64_t zero = (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
    if (zero != 0) return std::min(end + 1, x + static_cast<size_t>(__builtin_ctzll(zero)) / 8);
  }
  return end + 1;
}

bool FillSpans(std::uint8_t* map, size_t pitch, size_t seed) {
  Stack stack;
  if (!stack.Push(seed)) return false;
  while (!stack.Empty()) {
    const size_t at = stack.Pop();
    if (map[at] != kOpen) continue;
    const size_t first = StartOfOpen(map, at), last = EndOfOpen(map, at) - 1;
    std::memset(map + first, kQueued, last - first + 1);
    for (const size_t row : {first - pitch, first + pitch}) {
      // Every open run touching columns first - 1 .. last + 1 of the row.
      const size_t end = row + (last - first) + 1;
      for (size_t x = NextOpen(map, row - 1, end); x <= end;
           x = NextOpen(map, EndOfOpen(map, x), end))
        if (!stack.Push(x)) return false;
    }
  }
  return true;
}

}  // namespace

int RegionGrowing(CLamina& img, int seedX, int seedY, int distance, int percent,
                  unsigned char tolerance, unsigned long fill) {
  const ImageView v = BlockAccess::View(img);
  if (!InMask(kLevelDepthMask, v.bpp)) return codes::region_growing::kDepth;
  if (!v.Inside(seedX, seedY)) return codes::region_growing::kSeed;
  if (static_cast<unsigned>(distance) > 1) return codes::region_growing::kDistance;
  if (static_cast<unsigned>(percent) > 1) return codes::region_growing::kPercent;

  unsigned limit = tolerance;
  if (percent == 1) {
    CLamina::InformacionHistograma info{};
    intensity::GetInfoHistogram(img, &info);
    limit = static_cast<unsigned>(tolerance * (info.nMaxI - info.nMinI) / 100) & 0xFFu;
  }

  // The map: one byte per pixel with a frame of closed pixels around it.
  const size_t pitch = static_cast<size_t>(v.width) + 2;
  const size_t rows = static_cast<size_t>(v.height) + 2;
  Scratch mapMemory(pitch * rows + 16);
  if (!mapMemory.Ok()) return codes::region_growing::kNoMemory;
  std::uint8_t* map = mapMemory.As<std::uint8_t>() + 8;  // eight closed bytes either side
  std::memset(map - 8, kClosed, pitch + 8);
  std::memset(map + (rows - 1) * pitch, kClosed, pitch + 8);
  DispatchDepth<kLevelDepthMask>(v.bpp, [&](auto depth) {
    constexpr int B = decltype(depth)::value;
    const std::uint32_t seed = Compared<B>(v.Row(seedY), seedX);
    std::uint8_t state[256];
    for (unsigned level = 0; level < 256; ++level) {
      const unsigned gap = level > seed ? level - seed : seed - level;
      state[level] = gap <= limit ? kOpen : kClosed;
    }
    for (int y = 0; y < v.height; ++y) {
      const std::uint8_t* row = v.Row(y);
      std::uint8_t* out = map + static_cast<size_t>(y + 1) * pitch;
      out[0] = kClosed;
      out[pitch - 1] = kClosed;
      for (int x = 0; x < v.width; ++x) out[x + 1] = state[Compared<B>(row, x)];
    }
  });
  const bool grown =
      distance == 0
          ? GrowCityBlock(map, pitch, seedX, seedY)
          : FillSpans(map, pitch,
                      static_cast<size_t>(seedY + 1) * pitch + static_cast<size_t>(seedX) + 1);
  if (!grown) return codes::region_growing::kNoMemory;

  // Paint: the low 4 or 8 bits of the fill as the index, or its low byte as gray.
  BlockAccess::NoteStride(img, v);
  const std::uint8_t gray = static_cast<std::uint8_t>(fill & 0xFFu);
  DispatchDepth<kLevelDepthMask>(v.bpp, [&](auto depth) {
    constexpr int B = decltype(depth)::value;
    for (int y = v.height - 1; y >= 0; --y) {
      std::uint8_t* row = v.Row(y);
      const std::uint8_t* in = map + static_cast<size_t>(y + 1) * pitch + 1;
      if constexpr (B == 8) {
        for (int x = 0; x < v.width; ++x) row[x] = in[x] == kQueued ? gray : row[x];
      } else {
        for (int x = 0; x < v.width; ++x) {
          if (in[x] != kQueued) continue;
          if constexpr (B == 4)
            Px<4>::Set(row, x, gray & 0x0Fu);
          else
            Px<B>::SetRGB(row, x, RGBQUAD{gray, gray, gray, 0});
        }
      }
    }
  });
  return 0;
}

}  // namespace neighbourhood
}  // namespace lamina

int CLamina::fnIMG_RegionGrowing(int seedX, int seedY, int distance, int percent,
                                 unsigned char tolerance, unsigned long fill) {
  return lamina::neighbourhood::RegionGrowing(*this, seedX, seedY, distance, percent, tolerance,
                                              fill);
}
