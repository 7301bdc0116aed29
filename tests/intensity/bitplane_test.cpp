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
