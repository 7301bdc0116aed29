// Large blocks are kept after they are freed and handed out again. What a reused block must not
// show: the bytes of its previous life where a zero-filled block is asked for, or where a
// conversion writing into an unfilled block leaves padding and fourth bytes to the block.
#include "support/files.h"

namespace {

using namespace lamina_test;

constexpr std::size_t kLarge = std::size_t{40} << 20;  // past the size that gets its own mapping

// Frees a block of `bytes` full of 0xAB, so that the next large allocation of that size may get it.
void LeaveDirtyBlock(std::size_t bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes);
  ASSERT_NE(h, nullptr);
  std::memset(GlobalLock(h), 0xAB, bytes);
  GlobalUnlock(h);
  ASSERT_EQ(GlobalFree(h), nullptr);
}

TEST(SpareBlock, ZeroFilledRequestsComeBackZeroWhateverTheBlockHeld) {
  LeaveDirtyBlock(kLarge);
  HGLOBAL h = GlobalAlloc(GHND, kLarge - 4096);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), kLarge - 4096);
  const auto* p = static_cast<const std::uint8_t*>(GlobalLock(h));
  std::size_t nonZero = 0;
  for (std::size_t i = 0; i < kLarge - 4096; ++i) nonZero += p[i] != 0;
  EXPECT_EQ(nonZero, 0u);
  GlobalUnlock(h);
  GlobalFree(h);
}

TEST(SpareBlock, BlocksOfOtherSizesStillWork) {
  LeaveDirtyBlock(kLarge);
  for (std::size_t bytes : {kLarge * 2, kLarge / 2, kLarge}) {
    HGLOBAL h = GlobalAlloc(GHND, bytes);
    ASSERT_NE(h, nullptr) << bytes;
    auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
    EXPECT_EQ(p[0] | p[bytes / 2] | p[bytes - 1], 0) << bytes;
    std::memset(p, 1, bytes);  // the whole block is ours to write
    GlobalUnlock(h);
    GlobalFree(h);
  }
}

TEST(SpareBlock, WidenedImagesInAReusedBlockHaveZeroPaddingAndFourthBytes) {
  // 8 -> 24 -> 32 bits at an odd width, each new block taken over from a dirty freed one of the
  // same size: row padding (24 bits) and every fourth byte (32 bits) must read 0.
  const int w = 4097, h = 2800;
  CLamina img(nullptr, nullptr, w, h, 8);
  const CLamina::Punteros p8 = img.fnIMG_GetPointers();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p8.lpBits[static_cast<std::size_t>(y) * 4100 + x] = static_cast<std::uint8_t>(x + y);

  const std::size_t stride24 = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
  LeaveDirtyBlock(40 + stride24 * h);
  ASSERT_EQ(img.fnIMG_ChangeColorDepth(3), 0);
  const CLamina::Punteros p24 = img.fnIMG_GetPointers();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = p24.lpBits + stride24 * y;
    for (std::size_t k = static_cast<std::size_t>(w) * 3; k < stride24; ++k)
      ASSERT_EQ(row[k], 0) << "row " << y;
    ASSERT_EQ(row[3 * (w - 1)], static_cast<std::uint8_t>(w - 1 + y)) << "row " << y;
  }

  LeaveDirtyBlock(40 + static_cast<std::size_t>(w) * 4 * h);
  ASSERT_EQ(img.fnIMG_ChangeColorDepth(4), 0);
  const CLamina::Punteros p32 = img.fnIMG_GetPointers();
  for (std::size_t i = 3; i < static_cast<std::size_t>(w) * 4 * h; i += 4)
    ASSERT_EQ(p32.lpBits[i], 0) << "byte " << i;
}

TEST(SpareBlock, CropsIntoANewBlockClearTheirPadding) {
  // An 8-bit image with a 16-entry palette cannot be cropped inside its own block (the result has
  // all 256 entries), so the crop builds a new one: here a dirty kept block of exactly its size.
  const int w = 6000, h = 6000, entries = 16;
  const std::size_t pixels = static_cast<std::size_t>(w) * h;
  Bytes rest(4 * entries + pixels);
  for (std::size_t i = 0; i < pixels; ++i)
    rest[4 * entries + i] = static_cast<std::uint8_t>(i % 16);
  HGLOBAL handle = MakeHandle(InfoHeader(w, h, 8, entries), rest);
  CLamina img;
  img.fnIMG_CopyFromHandle(handle);
  GlobalFree(handle);
  ASSERT_EQ(img.fnIMG_GetColumns(), w);

  const int cw = w - 1, ch = h - 1;  // rows of 5999 bytes and one byte of padding
  LeaveDirtyBlock(40 + 1024 + static_cast<std::size_t>(6000) * ch);
  ASSERT_EQ(img.fnIMG_Crop(0, 0, cw - 1, ch - 1), 0);
  const CLamina::Punteros c = img.fnIMG_GetPointers();
  for (int y = 0; y < ch; ++y) ASSERT_EQ(c.lpBits[static_cast<std::size_t>(y) * 6000 + cw], 0) << y;
  EXPECT_EQ(img.fnIMG_GetPixel(cw - 1, ch - 1), static_cast<unsigned>((static_cast<std::size_t>(1) * w + cw - 1) % 16));
}

}  // namespace
