// Exchange by movable memory handle: the packed bitmap handed out, the 32 to 24-bit reduction of an
// incoming bitmap (in the caller's handle too), and every bitmap the image cannot hold refused
// before anything changes.
#include "support/files.h"

namespace {

using namespace lamina_test;

// True when the handle is unlocked (a lock and unlock bring it back to no lock).
bool Unlocked(HGLOBAL h) {
  GlobalLock(h);
  return GlobalUnlock(h) == FALSE;
}

TEST(HandleOut, GivesTheBlockUnlockedAndKeepsTheImage) {
  CLamina img;
  const Snapshot before = Snap(img);
  HGLOBAL h = img.fnIMG_CopyToHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(HandleBytes(h), before.block);
  EXPECT_TRUE(Unlocked(h));
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(Snap(img), before);
  // A true-colour header that counts 16 colours still carries no palette.
  CLamina rgb(nullptr, nullptr, 3, 2, 24);
  rgb.fnIMG_GetPointers().lpbmih->biClrUsed = 16;
  h = rgb.fnIMG_CopyToHandle();
  EXPECT_EQ(GlobalSize(h), 64u);
  GlobalFree(h);
}

TEST(HandleIn, ThirtyTwoBitsBecomeTwentyFourInTheHandleToo) {
  // 2 x 3: stride 8 at 24 bits, each row's pixels from the 32-bit rows in order.
  Bytes px(24);
  for (int i = 0; i < 24; ++i) px[i] = static_cast<BYTE>(i % 4 == 3 ? 77 : 10 * (i / 4) + i % 4);
  HGLOBAL h = MakeHandle(InfoHeader(2, 3, 32), px);
  CLamina img;
  img.fnIMG_CopyFromHandle(h);
  ASSERT_EQ(img.fnIMG_GetColorDepth(), 24);
  const Bytes block = Snap(img).block;
  ASSERT_EQ(block.size(), 40u + 24u);  // no palette
  for (int r = 0; r < 3; ++r)  // the padding of the reduced rows is not looked at
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(block[40 + 8 * r + i], 10 * (2 * r + i / 3) + i % 3) << r << " " << i;
  // The handle is reduced too: its depth and row size (bytes 14 and 20 of the header) and rows.
  const Bytes inHandle = HandleBytes(h);
  EXPECT_EQ((std::vector<int>{inHandle[14], inHandle[20]}), (std::vector<int>{24, 24}));
  EXPECT_EQ(Bytes(inHandle.begin() + 40, inHandle.begin() + 64),
            Bytes(block.begin() + 40, block.end()));
  EXPECT_TRUE(Unlocked(h));
  GlobalFree(h);
}

TEST(HandleIn, PaletteMissingImageSizeAndSixteenBits) {
  // 1 bit, 3 x 2, two palette entries, biSizeImage 0: computed as stride 4 x 2.
  HGLOBAL h = MakeHandle(InfoHeader(3, 2, 1),
                         {0, 0, 0, 0, 255, 255, 255, 0, 0xA0, 0, 0, 0, 0x40, 0, 0, 0});
  CLamina img;
  img.fnIMG_SetFileName(CString("kept.bmp"));
  img.fnIMG_CopyFromHandle(h);
  GlobalFree(h);  // the image owns its own copy
  EXPECT_EQ(NameOf(img), "kept.bmp");
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
  EXPECT_EQ(img.fnIMG_GetBitmapSize(), 8);
  EXPECT_EQ(PixelsOf(img), (Rows{{0, 1, 0}, {1, 0, 1}}));  // bottom row first
  EXPECT_EQ(Colour(img, 0, 1).rgbRed, 255);
  h = MakeHandle(InfoHeader(2, 1, 16), {1, 2, 3, 4});
  img.fnIMG_CopyFromHandle(h);
  GlobalFree(h);
  EXPECT_EQ(img.fnIMG_GetColorDepth(), 16);
  EXPECT_EQ(img.fnIMG_GetPointers().lpPalette, nullptr);
}

TEST(HandleIn, BitmapsThatCannotBeHeldLeaveImageAndHandle) {
  BITMAPINFOHEADER v4 = InfoHeader(2, 2, 24), bitfields = InfoHeader(2, 2, 32);
  v4.biSize = 108;
  bitfields.biCompression = 3;
  const struct {
    const char* what;
    BITMAPINFOHEADER header;
    std::size_t after;  // bytes after the header
  } cases[] = {
      {"header of 108 bytes", v4, 200},
      {"bit fields", bitfields, 100},
      {"2 bits", InfoHeader(2, 2, 2), 100},
      {"3 colours at 1 bit", InfoHeader(2, 2, 1, 3), 100},
      {"257 colours at 8 bits", InfoHeader(2, 2, 8, 257), 2000},
      {"top-down", InfoHeader(2, -2, 24), 100},
      {"rows past the block", InfoHeader(3, 2, 24), 23},
      {"palette past the block", InfoHeader(1, 1, 8), 1024 + 3},
      {"32 bits past the block", InfoHeader(3, 2, 32), 23},
      {"size smaller than the rows", InfoHeader(3, 2, 24, 0, 12), 100},
      {"huge", InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 24), 100},
  };
  for (const auto& c : cases) {
    HGLOBAL h = MakeHandle(c.header, Bytes(c.after, 0x5A));
    const Bytes handleBefore = HandleBytes(h);
    CLamina img;
    img.fnIMG_SetFileName(CString("n.raw"));
    const Snapshot before = Snap(img);
    img.fnIMG_CopyFromHandle(h);
    EXPECT_EQ(Snap(img), before) << c.what;
    EXPECT_EQ(HandleBytes(h), handleBefore) << c.what;
    EXPECT_TRUE(Unlocked(h)) << c.what;
    GlobalFree(h);
  }
}

TEST(HandleIn, NullTinyAndForeignHandlesChangeNothing) {
  CLamina img;
  const Snapshot before = Snap(img);
  img.fnIMG_CopyFromHandle(nullptr);
  HGLOBAL tiny = GlobalAlloc(GHND, 39);
  img.fnIMG_CopyFromHandle(tiny);
  GlobalFree(tiny);
  // The image's own block: taking it would free it while reading it.
  img.fnIMG_CopyFromHandle(GlobalHandle(img.fnIMG_GetPointers().lpDib));
  EXPECT_EQ(Snap(img), before);
  EXPECT_EQ(Snap(img).address, before.address);
  CLamina none(nullptr, nullptr, 2, 2, 16);
  EXPECT_EQ(none.fnIMG_CopyToHandle(), nullptr);
}

}  // namespace
