// Bit planes: one plane kept as a 1-bit image, or chosen planes cleared.
#include "support/pictures.h"

using namespace lamina_test;

namespace {
CLamina::CualesPlanosBits Planes(std::initializer_list<int> on, int value = 1) {
  CLamina::CualesPlanosBits p{};
  int* f = reinterpret_cast<int*>(&p);
  for (int plane : on) f[23 - plane] = value;
  return p;
}
}  // namespace

TEST(BitPlane, KeepsOnePlaneAsABlackAndWhiteImage) {
  const struct {
    int bpp, plane;
    Rows before, after;
  } cases[] = {
      {8, 7, {{0, 127, 128, 255}, {200, 1, 129, 64}}, {{0, 0, 1, 1}, {1, 0, 1, 0}}},
      {32, 16, {{Rgb(1, 0, 0), Rgb(2, 255, 255), Rgb(3, 0, 0)}}, {{1, 0, 1}}},  // lowest red bit
      {4, 1, {{0, 2, 3, 15, 13}}, {{0, 1, 1, 1, 0}}},
  };
  for (const auto& c : cases) {
    CLamina img = Marked(c.bpp, c.before);
    ASSERT_EQ(img.fnIMG_BitPlane(c.plane), 0);
    EXPECT_EQ(img.fnIMG_GetColorDepth(), 1);
    EXPECT_EQ(PixelsOf(img), c.after) << c.bpp;
    EXPECT_TRUE(Same(Entry(img, 0), Quad(0, 0, 0)) && Same(Entry(img, 1), Quad(255, 255, 255)))
        << c.bpp;
  }
}

TEST(BitPlane, IsTheConversionToOneBitOfTheMarkedPlane) {
  // The reference: each pixel set by hand to all ones or 0 by its bit, then converted to 1 bit.
  // Random colour palettes (the all-ones entry may be dark) and a short palette (index 15 black).
  const struct {
    int bpp, plane;
    bool shortPalette;
  } cases[] = {{4, 0, false}, {4, 3, true}, {8, 5, false}, {24, 12, false}, {32, 23, false}};
  unsigned seed = 40;
  for (const auto& c : cases) {
    CLamina img = c.shortPalette ? WithShortPalette(c.bpp, 19, 3, {Quad(200, 200, 200)})
                                 : Random(c.bpp, 19, 3, ++seed);
    if (c.shortPalette)
      for (int x = 0; x < 19; ++x) img.fnIMG_SetPixel(x, x % 3, static_cast<unsigned>(x) & 15u);
    img.fnIMG_SetFileName(CString("planes.bmp"));
    CLamina marked = img;
    const unsigned ones = c.bpp <= 8 ? (1u << c.bpp) - 1u : 0xFFFFFFu;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 19; ++x) {
        const unsigned bit = (img.fnIMG_GetPixel(x, y) >> c.plane) & 1u;
        marked.fnIMG_SetPixel(x, y, bit != 0 ? ones : 0u);
      }
    ASSERT_EQ(marked.fnIMG_ChangeColorDepth(0), 0);
    ASSERT_EQ(img.fnIMG_BitPlane(c.plane), 0);
    EXPECT_EQ(Snap(img), Snap(marked)) << c.bpp << " plane " << c.plane;
    EXPECT_EQ(lamina::BlockAccess::CachedStride(img), lamina::BlockAccess::CachedStride(marked));
  }
  // A 1-bit image's only plane is itself.
  CLamina one = Marked(1, {{1, 0, 1}}, {Quad(0, 0, 200), Quad(9, 9, 9)});
  const Snapshot before = Snap(one);
  EXPECT_EQ(one.fnIMG_BitPlane(0), 0);
  EXPECT_EQ(Snap(one), before);
}

TEST(BitPlaneErase, ClearsOnlyFieldsEqualToOneAndPlanesTheDepthHas) {
  const struct {
    int bpp;
    std::vector<std::uint32_t> before;
    CLamina::CualesPlanosBits planes;
    std::vector<std::uint32_t> after;
  } cases[] = {
      {8, {255, 3, 128}, Planes({0}), {254, 2, 128}},
      {8, {255, 3, 128}, Planes({7, 1, 0}), {124, 0, 0}},
      {4, {15, 9, 6}, Planes({3}), {7, 1, 6}},
      {32, {Rgb(255, 255, 255)}, Planes({0, 15, 23}), {Rgb(127, 127, 254)}},  // by channel
  };
  for (const auto& c : cases) {
    CLamina img = Marked(c.bpp, {c.before});
    ASSERT_EQ(img.fnIMG_BitPlaneErase(c.planes), 0);
    EXPECT_EQ(PixelsOf(img)[0], c.after) << c.bpp;
    EXPECT_TRUE(PaddingKept(img)) << c.bpp;
    EXPECT_TRUE(AlphaKept(img)) << c.bpp;
  }
}
