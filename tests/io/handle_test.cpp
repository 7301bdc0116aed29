// Exchange by movable memory handle: the packed bitmap handed out, the 32 to 24-bit reduction of an
// incoming bitmap (in the caller's handle too), and every bitmap the image cannot hold refused
// before anything changes.
#include <gtest/gtest.h>

#include "files_test_util.h"

namespace {

using namespace files_test;

Bytes HandleBytes(HGLOBAL h) {
  auto* p = static_cast<std::uint8_t*>(GlobalLock(h));
  Bytes out(p, p + GlobalSize(h));
  GlobalUnlock(h);
  return out;
}

BITMAPINFOHEADER Header(int width, int height, int bpp, DWORD clrUsed = 0, DWORD sizeImage = 0) {
  BITMAPINFOHEADER h{};
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bpp);
  h.biSizeImage = sizeImage;
  h.biClrUsed = clrUsed;
  return h;
}

// A handle holding the header followed by `rest` and then `extra` zero bytes.
HGLOBAL MakeHandle(const BITMAPINFOHEADER& h, const Bytes& rest, std::size_t extra = 0) {
  HGLOBAL g = GlobalAlloc(GHND, 40 + rest.size() + extra);
  auto* p = static_cast<std::uint8_t*>(GlobalLock(g));
  std::memcpy(p, &h, 40);
  if (!rest.empty()) std::memcpy(p + 40, rest.data(), rest.size());
  GlobalUnlock(g);
  return g;
}

// True when the handle is unlocked (a lock and unlock bring it back to no lock).
bool Unlocked(HGLOBAL h) {
  GlobalLock(h);
  return GlobalUnlock(h) == FALSE;
}

// ---- To a handle ---------------------------------------------------------------------------

TEST(HandleOut, DefaultImageGivesItsBlock) {
  CLamina img;
  const Snapshot before = Take(img);
  HGLOBAL h = img.fnIMG_CopyToHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 1320u);
  EXPECT_EQ(HandleBytes(h), before.block);
  EXPECT_TRUE(Unlocked(h));
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(Take(img), before);
}

TEST(HandleOut, TrueColourHasNoPaletteWhateverBiClrUsedSays) {
  CLamina img(nullptr, nullptr, 3, 2, 24);
  HGLOBAL h = img.fnIMG_CopyToHandle();
  EXPECT_EQ(GlobalSize(h), 64u);
  GlobalFree(h);
  // A true-colour header that counts 16 colours still carries no palette.
  img.fnIMG_GetPointers().lpbmih->biClrUsed = 16;
  h = img.fnIMG_CopyToHandle();
  EXPECT_EQ(GlobalSize(h), 64u);
  GlobalFree(h);
}

TEST(HandleOut, ObjectWithoutBlockOrMemoryGivesNull) {
  CLamina none(nullptr, nullptr, 2, 2, 16);
  EXPECT_EQ(none.fnIMG_CopyToHandle(), nullptr);
  CLamina img;
  FailingAllocations fail(0);
  EXPECT_EQ(img.fnIMG_CopyToHandle(), nullptr);
}

TEST(HandleOut, RoundTripReproducesTheImage) {
  CLamina src(nullptr, nullptr, 5, 3, 4);
  for (int i = 0; i < 15; ++i) src.fnIMG_SetPixel(i % 5, i / 5, static_cast<unsigned>(i));
  HGLOBAL h = src.fnIMG_CopyToHandle();
  CLamina dst;
  dst.fnIMG_SetFileName(CString("kept.bmp"));
  dst.fnIMG_CopyFromHandle(h);
  GlobalFree(h);  // the image owns its own copy
  const Snapshot a = Take(src), b = Take(dst);
  EXPECT_EQ(a.block, b.block);
  EXPECT_EQ(b.name, "kept.bmp");
  EXPECT_EQ(dst.fnIMG_GetPixel(4, 2), 14u);
}

// ---- From a handle -------------------------------------------------------------------------

TEST(HandleIn, ThirtyTwoBitsBecomeTwentyFourInTheHandleToo) {
  HGLOBAL h = MakeHandle(Header(3, 1, 32), {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255});
  CLamina img;
  img.fnIMG_CopyFromHandle(h);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 24);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 12);
  const CLamina::Punteros p = img.fnIMG_GetPointers();
  EXPECT_EQ(p.lpPalette, nullptr);
  EXPECT_EQ(p.lpBits - p.lpDib, 40);
  EXPECT_EQ(Bytes(p.lpBits, p.lpBits + 9), Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9}));
  const Bytes inHandle = HandleBytes(h);
  BITMAPINFOHEADER after;
  std::memcpy(&after, inHandle.data(), 40);
  EXPECT_EQ(after.biBitCount, 24);
  EXPECT_EQ(after.biSizeImage, 12u);
  EXPECT_EQ(Bytes(inHandle.begin() + 40, inHandle.begin() + 49),
            Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_TRUE(Unlocked(h));
  GlobalFree(h);
}

TEST(HandleIn, ThirtyTwoBitRowsLandAtTheTwentyFourBitStride) {
  // 2 x 3: stride 8 at 24 bits, each row's pixels from the 32-bit rows in order.
  Bytes px(24);
  for (int i = 0; i < 6; ++i) {
    px[4 * i] = static_cast<BYTE>(10 * i);
    px[4 * i + 1] = static_cast<BYTE>(10 * i + 1);
    px[4 * i + 2] = static_cast<BYTE>(10 * i + 2);
    px[4 * i + 3] = 77;
  }
  HGLOBAL h = MakeHandle(Header(2, 3, 32), px);
  CLamina img;
  img.fnIMG_CopyFromHandle(h);
  GlobalFree(h);
  ASSERT_EQ(img.fnIMG_GetColorDepth(), 24);
  const std::uint8_t* bits = img.fnIMG_GetPointers().lpBits;
  for (int r = 0; r < 3; ++r)
    for (int x = 0; x < 2; ++x)
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(bits[8 * r + 3 * x + c], 10 * (2 * r + x) + c) << r << x << c;
}

TEST(HandleIn, PaletteAndMissingImageSize) {
  // 1 bit, 3 x 2, two palette entries, biSizeImage 0: computed as stride 4 x 2.
  HGLOBAL h =
      MakeHandle(Header(3, 2, 1), {0, 0, 0, 0, 255, 255, 255, 0, 0xA0, 0, 0, 0, 0x40, 0, 0, 0});
  CLamina img;
  img.fnIMG_CopyFromHandle(h);
  GlobalFree(h);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 8);
  EXPECT_EQ(img.fnIMG_GetPixel(0, 1), 1u);  // bottom row first
  EXPECT_EQ(img.fnIMG_GetPixel(1, 0), 1u);
  EXPECT_EQ(img.fnIMG_GetPixel(2, 1), 1u);
  RGBQUAD c{};
  img.fnIMG_GetRGBPixel(0, 1, &c);
  EXPECT_EQ(c.rgbRed, 255);
}

TEST(HandleIn, SixteenBitsAreTakenAsTheyAre) {
  HGLOBAL h = MakeHandle(Header(2, 1, 16), {1, 2, 3, 4});
  CLamina img;
  img.fnIMG_CopyFromHandle(h);
  GlobalFree(h);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 16);
  EXPECT_EQ(img.fnIMG_GetPointers().lpPalette, nullptr);
}

TEST(HandleIn, BitmapsThatCannotBeHeldLeaveImageAndHandle) {
  struct Case {
    const char* what;
    BITMAPINFOHEADER header;
    std::size_t after;  // bytes after the header
  };
  BITMAPINFOHEADER v4 = Header(2, 2, 24), bitfields = Header(2, 2, 32), rle = Header(2, 2, 8);
  v4.biSize = 108;
  bitfields.biCompression = 3;
  rle.biCompression = 1;
  const Case cases[] = {
      {"header of 108 bytes", v4, 200},
      {"bit fields", bitfields, 100},
      {"run lengths", rle, 2000},
      {"2 bits", Header(2, 2, 2), 100},
      {"0 bits", Header(2, 2, 0), 100},
      {"33 bits", Header(2, 2, 33), 100},
      {"3 colours at 1 bit", Header(2, 2, 1, 3), 100},
      {"257 colours at 8 bits", Header(2, 2, 8, 257), 2000},
      {"width 0", Header(0, 2, 24), 100},
      {"top-down", Header(2, -2, 24), 100},
      {"rows past the block", Header(3, 2, 24), 23},
      {"palette past the block", Header(1, 1, 8), 1024 + 3},
      {"32 bits past the block", Header(3, 2, 32), 23},
      {"size smaller than the rows", Header(3, 2, 24, 0, 12), 100},
      {"huge", Header(0x7FFFFFFF, 0x7FFFFFFF, 24), 100},
  };
  for (const Case& c : cases) {
    HGLOBAL h = MakeHandle(c.header, Bytes(c.after, 0x5A));
    const Bytes handleBefore = HandleBytes(h);
    CLamina img;
    img.fnIMG_SetFileName(CString("n.raw"));
    const Snapshot before = Take(img);
    img.fnIMG_CopyFromHandle(h);
    EXPECT_EQ(Take(img), before) << c.what;
    EXPECT_EQ(HandleBytes(h), handleBefore) << c.what;
    EXPECT_TRUE(Unlocked(h)) << c.what;
    GlobalFree(h);
  }
}

TEST(HandleIn, NullTinyAndForeignHandles) {
  CLamina img;
  const Snapshot before = Take(img);
  img.fnIMG_CopyFromHandle(nullptr);
  HGLOBAL tiny = GlobalAlloc(GHND, 39);
  img.fnIMG_CopyFromHandle(tiny);
  GlobalFree(tiny);
  // The image's own block: taking it would free it while reading it.
  img.fnIMG_CopyFromHandle(GlobalHandle(img.fnIMG_GetPointers().lpDib));
  EXPECT_EQ(Take(img), before);
}

TEST(HandleIn, ShortOfMemoryLeavesImageAndHandle) {
  HGLOBAL h = MakeHandle(Header(1, 1, 32), {1, 2, 3, 4});
  const Bytes handleBefore = HandleBytes(h);
  CLamina img;
  const Snapshot before = Take(img);
  {
    FailingAllocations fail(0);
    img.fnIMG_CopyFromHandle(h);
  }
  EXPECT_EQ(Take(img), before);
  EXPECT_EQ(HandleBytes(h), handleBefore);  // not even reduced to 24 bits
  GlobalFree(h);
}

}  // namespace
