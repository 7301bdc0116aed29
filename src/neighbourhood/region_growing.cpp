// fnIMG_RegionGrowing: grows a region from a seed pixel and paints it. A pixel joins when it is an
// 8-neighbour of a pixel already in the region, its value (the index, or the red byte at 24 and 32
// bits) differs from the seed's by at most the tolerance, and its distance from the seed
// (city-block or chessboard) is at most the generation count, which rises by one per generation.
//
// The growth runs on a map of one byte per pixel, framed by a border of pixels that never
// qualify: whether the pixel's value is close enough to the seed's (worked out once, in one pass),
// and whether it has been queued. The queue is one ring of points that grows by doubling, the
// generation in hand at its head and the next one behind it, so nothing is allocated per point
// and a flat 16-megapixel image needs only its map and a queue as long as the growth front.
// Painted pixels are never read again and queued ones never examined again, so the region does
// not depend on when a pixel is painted: the map records it, and the region is painted in one
// pass at the end, which also means that running out of memory part-way leaves the image as it
// was.
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

// Grows the region on the map; false when the queue could not grow.
//
// A point of generation d - 1 lies within d - 1 of the seed, so its neighbours lie within d + 1:
// under the chessboard distance every neighbour is within d, and under the city-block distance so
// is every neighbour sharing an edge; only the diagonal ones can be too far.
//
// Each neighbour is taken without a branch: its point is written at the tail of the ring and kept
// only when it qualifies, and, since kOpen is 0 and kQueued 1, or-ing the verdict into the map
// queues an open pixel and leaves any other as it is. Branching instead costs more than the
// stores: along a growth front whether a neighbour is open follows no pattern a processor learns.
template <bool CityBlock>
bool Grow(std::uint8_t* map, size_t pitch, int seedX, int seedY) {
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
      // City-block distances of the columns and rows either side of p.
      long long left = 0, right = 0, up = 0, below = 0;
      if constexpr (CityBlock) {
        left = std::llabs(static_cast<long long>(p.x) - 1 - seedX);
        right = std::llabs(static_cast<long long>(p.x) + 1 - seedX);
        up = std::llabs(static_cast<long long>(p.y) - 1 - seedY);
        below = std::llabs(static_cast<long long>(p.y) + 1 - seedY);
      }
      auto visit = [&](std::ptrdiff_t offset, int dx, int dy, bool near) {
        std::uint8_t& m = centre[offset];
        const size_t take = static_cast<size_t>(m == kOpen) & static_cast<size_t>(near);
        m = static_cast<std::uint8_t>(m | take);
        points[(head + size) & mask] = Point{p.x + dx, p.y + dy};
        size += take;
      };
      visit(-down - 1, -1, -1, !CityBlock || left + up <= d);
      visit(-down, 0, -1, true);
      visit(-down + 1, 1, -1, !CityBlock || right + up <= d);
      visit(-1, -1, 0, true);
      visit(1, 1, 0, true);
      visit(down - 1, -1, 1, !CityBlock || left + below <= d);
      visit(down, 0, 1, true);
      visit(down + 1, 1, 1, !CityBlock || right + below <= d);
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
  Scratch mapMemory(pitch * rows);
  if (!mapMemory.Ok()) return codes::region_growing::kNoMemory;
  std::uint8_t* map = mapMemory.As<std::uint8_t>();
  std::memset(map, kClosed, pitch);
  std::memset(map + (rows - 1) * pitch, kClosed, pitch);
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
      distance == 0 ? Grow<true>(map, pitch, seedX, seedY) : Grow<false>(map, pitch, seedX, seedY);
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
