#include "platform/file_rows.h"

#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <typeinfo>

namespace lamina {
namespace platform {
namespace {

// Rows per system call: the smallest limit every system allows (IOV_MAX is at least this).
constexpr std::size_t kBatch = 1024;
// Bytes gathered per write: large enough that system calls are few, small enough to stay in the
// processor's cache between our copy and the system's.
constexpr std::size_t kPiece = 1024 * 1024;

// Moves rows in batches, resuming inside a batch after a short transfer. `Move` is readv or writev.
template <typename Byte, typename Move>
bool MoveRows(int fd, Byte* first, std::ptrdiff_t step, std::size_t width, std::size_t rows,
              Move move) {
  iovec pieces[kBatch];
  for (std::size_t done = 0; done < rows;) {
    const std::size_t count = rows - done < kBatch ? rows - done : kBatch;
    for (std::size_t k = 0; k < count; ++k) {
      Byte* row = first + static_cast<std::ptrdiff_t>(done + k) * step;
      pieces[k].iov_base = const_cast<std::uint8_t*>(row);
      pieces[k].iov_len = width;
    }
    iovec* next = pieces;
    std::size_t left = count;
    while (left != 0) {
      const ssize_t n = move(fd, next, static_cast<int>(left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      // Skip what moved: whole pieces, then the moved part of the piece it stopped in.
      std::size_t moved = static_cast<std::size_t>(n);
      while (left != 0 && moved >= next->iov_len) {
        moved -= next->iov_len;
        ++next;
        --left;
      }
      if (left != 0) {
        next->iov_base = static_cast<std::uint8_t*>(next->iov_base) + moved;
        next->iov_len -= moved;
      }
    }
    done += count;
  }
  return true;
}

}  // namespace

std::uint8_t* HalfPageAway(std::uint8_t* storage, const void* partner) {
  const std::uintptr_t have = reinterpret_cast<std::uintptr_t>(storage) % 4096;
  const std::uintptr_t want = (reinterpret_cast<std::uintptr_t>(partner) + 2048) % 4096;
  return storage + (want + 4096 - have) % 4096;
}

bool FileRows::Direct(const CFile& file) { return file.m_fd >= 0 && typeid(file) == typeid(CFile); }

bool FileRows::Read(CFile& file, std::uint8_t* first, std::ptrdiff_t step, std::size_t width,
                    std::size_t rows) {
  // Reading straight into the rows is the one copy a load must make, whatever their order.
  return MoveRows(file.m_fd, first, step, width, rows,
                  [](int fd, const iovec* v, int n) { return ::readv(fd, v, n); });
}

namespace {

bool WriteAt(int fd, const std::uint8_t* data, std::size_t bytes, off_t at) {
  while (bytes != 0) {
    const ssize_t n = ::pwrite(fd, data, bytes, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    bytes -= static_cast<std::size_t>(n);
    at += n;
  }
  return true;
}

}  // namespace

bool FileRows::Write(CFile& file, const std::uint8_t* first, std::ptrdiff_t step,
                     std::size_t width, std::size_t rows) {
  const int fd = file.m_fd;
  struct stat st;
  const off_t start = ::lseek(fd, 0, SEEK_CUR);
  // Rows are gathered into a piece that stays in the cache and the piece is written where its
  // rows belong in the file, so memory is always read upwards even when the file wants the rows
  // in the opposite order (as a bottom-up image saved top row first does). Reading memory
  // downwards, row after row, defeats the processor's prefetching and made saving half as fast.
  // Only a regular file can be written out of order; anything else gets the rows in file order.
  const std::size_t rowsPerPiece = width >= kPiece ? 1 : kPiece / width;
  std::unique_ptr<std::uint8_t[]> storage;
  if (start >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && rows > 1)
    storage.reset(new (std::nothrow) std::uint8_t[rowsPerPiece * width + 4096]);
  if (!storage)
    return MoveRows(fd, first, step, width, rows,
                    [](int f, const iovec* v, int n) { return ::writev(f, v, n); });

  std::uint8_t* piece = HalfPageAway(storage.get(), first);
  const bool upwards = step >= 0;
  for (std::size_t done = 0; done < rows;) {
    const std::size_t count = std::min(rowsPerPiece, rows - done);
    // The pieces cover file rows [lo, lo + count), taken in the order memory rises.
    const std::size_t lo = upwards ? done : rows - done - count;
    for (std::size_t j = 0; j < count; ++j) {
      const std::size_t k = upwards ? lo + j : lo + count - 1 - j;  // rising addresses
      std::memcpy(piece + (k - lo) * width, first + static_cast<std::ptrdiff_t>(k) * step, width);
    }
    if (!WriteAt(fd, piece, count * width, start + static_cast<off_t>(lo * width))) return false;
    done += count;
  }
  // The position ends after the rows, as if they had been written in order.
  return ::lseek(fd, start + static_cast<off_t>(rows * width), SEEK_SET) >= 0;
}

}  // namespace platform
}  // namespace lamina
