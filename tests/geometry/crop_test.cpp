// fnIMG_Crop: keeps an inclusive rectangle.
#include "support/pictures.h"

using namespace lamina_test;

namespace {

// The plain route: a new image from the data constructor with the image's palette, filled pixel by
// pixel through the public accessors, named after the image and assigned to it.
void ReferenceCrop(CLamina& img, int x1, int y1, int x2, int y2) {
  const int bpp = img.fnIMG_GetColorDepth();
  std::vector<RGBQUAD> palette(256);
  if (bpp <= 8) img.fnIMG_GetPalette(palette.data());
  CLamina out(nullptr, bpp <= 8 ? palette.data() : nullptr, x2 - x1 + 1, y2 - y1 + 1, bpp);
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) out.fnIMG_SetPixel(x - x1, y - y1, img.fnIMG_GetPixel(x, y));
  out.fnIMG_SetFileName(lamina::BlockAccess::Name(img));
  img = out;
}

}  // namespace

TEST(Crop, RefusesRectanglesNotStrictlyInsideBeforeLookingAtTheDepth) {
  CLamina none(nullptr, nullptr, 4, 4, 16);
  EXPECT_EQ(none.fnIMG_Crop(0, 0, 1, 1), 1);  // no block: no width to be inside of
  CLamina sixteen = Sixteen({{1, 2, 3}, {4, 5, 6}});
  const Snapshot before16 = Snap(sixteen);
  EXPECT_EQ(sixteen.fnIMG_Crop(0, 0, 1, 5), 1);
  EXPECT_EQ(sixteen.fnIMG_Crop(0, 0, 1, 1), 2);
  EXPECT_EQ(Snap(sixteen), before16);
  CLamina img = FromRows(8, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  const Snapshot before = Snap(img);
  const int rects[][4] = {{1, 0, 1, 2},  {0, 1, 2, 1},  {2, 0, 1, 2}, {-1, 0, 2, 2},
                          {0, -1, 2, 2}, {0, 0, 3, 2}, {0, 0, 2, 3}};  // 1 wide, 1 high, ...
  for (const auto& r : rects) EXPECT_EQ(img.fnIMG_Crop(r[0], r[1], r[2], r[3]), 1) << r[0] << r[2];
  EXPECT_EQ(Snap(img), before);
}

TEST(Crop, KeepsPaletteAndName) {
  CLamina img = FromRows(8, {{1, 2, 3}, {4, 5, 6}}, {Quad(1, 2, 3, 4), Quad(5, 6, 7, 8)});
  img.fnIMG_SetFileName(L"dir/photo.bmp");
  const std::vector<RGBQUAD> palette = PaletteOf(img);
  EXPECT_EQ(img.fnIMG_Crop(0, 0, 1, 1), 0);
  EXPECT_EQ(NameOf(img), "dir/photo.bmp");
  EXPECT_EQ(Packed(PaletteOf(img)), Packed(palette));
  // A short palette: the entries it has, then the constructor's, never bytes past it.
  CLamina shortPal = WithShortPalette(8, 3, 3, {Quad(10, 20, 30), Quad(40, 50, 60)});
  EXPECT_EQ(shortPal.fnIMG_Crop(0, 0, 1, 1), 0);
  std::vector<RGBQUAD> filled(256);
  for (int i = 0; i < 256; ++i) filled[i] = Quad(i, i, i);
  filled[0] = Quad(10, 20, 30);
  filled[1] = Quad(40, 50, 60);
  EXPECT_EQ(Packed(PaletteOf(shortPal)), Packed(filled));
}

TEST(Crop, WholeByteDepthsCropInsideTheirOwnBlockAndClearFourthBytes) {
  // The kept rows move down inside the block, which is then cut to size: no memory is needed, the
  // address stays, and the block is exactly as large as a new image's would be. The reference's
  // 32-bit pixels have fourth bytes 0, as the crop must leave them.
  for (int bpp : {8, 24, 32}) {
    CLamina img = FromRows(bpp, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}});
    if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(99));
    CLamina expected = img;
    ReferenceCrop(expected, 1, 1, 4, 2);
    const void* address = img.fnIMG_GetPointers().lpDib;
    {
      FailingAllocations fail;
      EXPECT_EQ(img.fnIMG_Crop(1, 1, 4, 2), 0) << bpp;
    }
    EXPECT_EQ(Snap(img), Snap(expected)) << bpp;
    const CLamina::Punteros p = img.fnIMG_GetPointers();
    EXPECT_EQ(p.lpDib, address);
    EXPECT_EQ(GlobalSize(GlobalHandle(p.lpDib)),
              static_cast<SIZE_T>(p.lpBits - p.lpDib) + p.lpbmih->biSizeImage)
        << bpp;
  }
}

TEST(Crop, ABlockWithBytesPastItsRowsGivesANewBlockWithZeroPaddingAndFourthBytes) {
  for (int bpp : {8, 24, 32}) {
    CLamina img = Raw(bpp, 21, 7, bpp == 8 ? GrayRamp(256) : std::vector<RGBQUAD>{}, 100);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 21; ++x) img.fnIMG_SetPixel(x, y, 0x9E3779B9u * (x + 21 * y + 1));
    if (bpp == 32) img.fnIMG_SetAlfa(static_cast<unsigned char>(99));
    CLamina expected = img;
    ReferenceCrop(expected, 3, 1, 17, 5);  // 15 wide: padding at 8 and 24 bits
    // Leave non-zero bytes where the new block may be placed.
    const SIZE_T size = GlobalSize(GlobalHandle(expected.fnIMG_GetPointers().lpDib));
    HGLOBAL junk = GlobalAlloc(GHND, size);
    std::memset(GlobalLock(junk), 0xCC, size);
    GlobalUnlock(junk);
    GlobalFree(junk);
    ASSERT_EQ(img.fnIMG_Crop(3, 1, 17, 5), 0);
    EXPECT_EQ(Snap(img), Snap(expected)) << bpp;
  }
}

TEST(Crop, AgreesWithThePixelByPixelRouteOnRandomImages) {
  // Corners, odd offsets that shift sub-byte pixels, and the whole image.
  const int rects[][4] = {{0, 0, 1, 1}, {3, 1, 12, 6}, {5, 2, 20, 3}, {0, 0, 20, 6}};
  unsigned seed = 100;
  for (int bpp : {1, 4, 8, 24, 32})
    for (const auto& r : rects) {
      CLamina fast = Random(bpp, 21, 7, ++seed);
      fast.fnIMG_SetFileName(L"random.bmp");
      CLamina slow = fast;
      ASSERT_EQ(fast.fnIMG_Crop(r[0], r[1], r[2], r[3]), 0);
      ReferenceCrop(slow, r[0], r[1], r[2], r[3]);
      EXPECT_EQ(Snap(fast), Snap(slow)) << "depth " << bpp << " x1 " << r[0] << " x2 " << r[2];
    }
}
