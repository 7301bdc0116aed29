// Exchange with other code through movable memory handles holding a packed bitmap: the 40-byte
// header, the palette (1, 4 and 8 bits only), the rows bottom-up, no gaps.
//
// fnIMG_CopyToHandle returns a new, unlocked handle that the caller owns, or null when the image
// has no block or memory is short. fnIMG_CopyFromHandle replaces the image by a copy of the bitmap
// in the caller's handle (a 32-bit bitmap is first reduced to 24 bits in the handle itself). It
// has no result: a bitmap it cannot take leaves the image exactly as it was. It takes the headers
// of io/packed_dib.h, the rule the BMP files share (a 40-byte header, no compression or bit fields,
// a depth of 1, 4, 8, 16, 24 or 32 bits, a width and height of 0 or more, at 1, 4 and 8 bits no
// more palette entries than indices), in a handle block large enough for header, palette and
// rows. fnIMG_CopyToHandle hands out no other header, so every handle it gives is taken back.
#include <climits>
#include <cstdint>
#include <cstring>

#include "CLamina.h"
#include "core/block_access.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "io/packed_dib.h"
#include "lamina/memory.h"

using lamina::BlockAccess;

void* CLamina::fnIMG_CopyToHandle() {
  if (m_lpDib == nullptr) return nullptr;
  const BITMAPINFOHEADER& h = *m_lpbmih;
  // A header no loader takes (a caller may have written any bytes into it) is not handed out.
  if (!lamina::io::WritableHeader(h)) return nullptr;
  // Only depths up to 8 bits carry a palette, whatever biClrUsed says for deeper ones.
  std::int64_t paletteBytes = 0;
  if (lamina::IsPaletteDepth(h.biBitCount)) {
    const int size = static_cast<int>(4 * lamina::ColourCount(h));  // as fnIMG_GetPaletteSize
    paletteBytes = size > 0 ? size : 0;
  }
  const std::uint64_t headPart = std::uint64_t{h.biSize} + static_cast<std::uint64_t>(paletteBytes);
  const std::uint64_t total = headPart + h.biSizeImage;
  if (total > SIZE_MAX) return nullptr;

  // Not zero-filled: every byte is either copied below or cleared there.
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(total));
  if (handle == nullptr) return nullptr;
  auto* dst = static_cast<std::uint8_t*>(GlobalLock(handle));
  if (dst == nullptr) {
    GlobalFree(handle);
    return nullptr;
  }
  // The copies never reach past the image's block, whatever a loaded header claims; what the block
  // lacks stays zero in the handle.
  const std::uint64_t blockSize = GlobalSize(GlobalHandle(m_lpDib));
  const std::uint64_t head = headPart < blockSize ? headPart : blockSize;
  std::memcpy(dst, m_lpDib, static_cast<std::size_t>(head));
  if (head < headPart) std::memset(dst + head, 0, static_cast<std::size_t>(headPart - head));
  const std::uint64_t bitsAt = static_cast<std::uint64_t>(m_lpBits - m_lpDib);
  const std::uint64_t bitsRoom = bitsAt < blockSize ? blockSize - bitsAt : 0;
  const std::uint64_t bits = h.biSizeImage < bitsRoom ? h.biSizeImage : bitsRoom;
  if (bits != 0) std::memcpy(dst + headPart, m_lpBits, static_cast<std::size_t>(bits));
  if (bits < h.biSizeImage)
    std::memset(dst + headPart + bits, 0, static_cast<std::size_t>(h.biSizeImage - bits));
  GlobalUnlock(handle);
  return handle;
}

namespace {

// Unlocks the caller's handle on every way out, leaving it as it came.
struct LockedHandle {
  HGLOBAL handle;
  std::uint8_t* bytes;
  explicit LockedHandle(HGLOBAL h) : handle(h), bytes(static_cast<std::uint8_t*>(GlobalLock(h))) {}
  ~LockedHandle() {
    if (bytes != nullptr) GlobalUnlock(handle);
  }
  LockedHandle(const LockedHandle&) = delete;
  LockedHandle& operator=(const LockedHandle&) = delete;
};

}  // namespace

void CLamina::fnIMG_CopyFromHandle(void* handle) {
  if (handle == nullptr) return;
  // The image's own block: it already is that bitmap, and taking it would free it under us.
  if (m_lpDib != nullptr && GlobalHandle(m_lpDib) == handle) return;
  const std::uint64_t available = GlobalSize(handle);
  if (available < 40) return;
  LockedHandle locked(handle);
  if (locked.bytes == nullptr) return;
  std::uint8_t* src = locked.bytes;

  BITMAPINFOHEADER h;
  std::memcpy(&h, src, sizeof h);
  if (!lamina::io::ExchangeableHeader(h)) return;
  const int bpp = h.biBitCount;
  const std::int64_t width = h.biWidth;
  const std::int64_t height = h.biHeight;
  const std::int64_t paletteBytes = 4 * lamina::PaletteEntries(h);

  std::int64_t imageBytes;
  std::int64_t stride24 = 0;
  if (bpp == 32) {
    // The 32-bit rows (four bytes a pixel, no padding) must all be in the handle; the 24-bit image
    // made of them is smaller.
    if (height != 0 && static_cast<std::uint64_t>(width * 4) >
                           (available - 40) / static_cast<std::uint64_t>(height))
      return;
    stride24 = lamina::Stride64(width, 24);
    imageBytes = stride24 * height;
  } else {
    const std::int64_t rows = lamina::Stride64(width, bpp);
    if (height != 0 && rows > INT_MAX / height) return;
    const std::int64_t pixelBytes = rows * height;
    imageBytes = h.biSizeImage != 0 ? std::int64_t{h.biSizeImage} : pixelBytes;
    // A biSizeImage smaller than the rows would let pixel access run past the new block.
    if (imageBytes < pixelBytes) return;
  }
  const std::int64_t total = 40 + paletteBytes + imageBytes;
  if (total > INT_MAX || static_cast<std::uint64_t>(total) > available) return;

  // Allocated before anything changes: if memory is short, neither the image nor the handle moves.
  // Every byte of it is copied from the handle below, so it need not be zero-filled first.
  lamina::NewImage copy = lamina::NewImage::Raw(static_cast<std::size_t>(total),
                                                static_cast<std::size_t>(40 + paletteBytes),
                                                /*zero=*/false);
  if (!copy.Ok()) return;
  std::uint8_t* block = copy.Block();

  if (bpp == 32) {
    // In place in the caller's handle, which keeps the 24-bit bitmap. Each target byte lies at or
    // before its source byte, so reading forward never meets a byte already overwritten.
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(src);
    header->biBitCount = 24;
    header->biCompression = 0;
    std::uint8_t* pixels = src + 40;
    std::size_t from = 0;
    for (std::int64_t r = 0; r < height; ++r) {
      std::uint8_t* row = pixels + static_cast<std::size_t>(stride24 * r);
      for (std::int64_t x = 0; x < width; ++x, from += 4) {
        const std::uint8_t b = pixels[from], g = pixels[from + 1], red = pixels[from + 2];
        row[3 * x] = b;
        row[3 * x + 1] = g;
        row[3 * x + 2] = red;
      }
    }
    header->biSizeImage = static_cast<DWORD>(imageBytes);
  }
  std::memcpy(block, src, static_cast<std::size_t>(total));
  reinterpret_cast<BITMAPINFOHEADER*>(block)->biSizeImage = static_cast<DWORD>(imageBytes);
  // The old block goes only now: a handle holding this very image was read before it is freed.
  copy.InstallInto(*this);
}
