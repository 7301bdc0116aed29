// The core's image builder and bordered row access, against what the public interface makes: the
// data constructor's blocks, and a plainly padded copy of the image read through the accessors.
#include <vector>

#include "core/bordered_rows.h"
#include "core/image_builder.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;
using lamina::Border;
using lamina::Margins;

const int kDepths[] = {1, 4, 8, 24, 32};

TEST(ImageBuilder, MakesTheDataConstructorsBlockAtEveryDepth) {
  std::vector<RGBQUAD> pal(256);
  for (int i = 0; i < 256; ++i) pal[i] = Quad(i, 255 - i, i / 2, 7);
  for (int bpp : kDepths)
    for (int width : {0, 1, 5, 13}) {
      CLamina made(nullptr, pal.data(), width, 3, bpp);
      CLamina built(nullptr, nullptr, 1, 1, 8);
      lamina::NewImage image(width, 3, bpp, pal.data());
      ASSERT_TRUE(image.Ok());
      image.InstallInto(built, CString(lamina::kDefaultImageName));
      EXPECT_EQ(Snap(built), Snap(made)) << bpp << " bits, width " << width;
    }
}

TEST(ImageBuilder, UnfilledRowsEndUpAsTheConstructorsOnceEveryPixelIsWritten) {
  // Blocks of this size come from the kept spare block, dirty from the picture freed before.
  for (int bpp : kDepths) {
    { CLamina dirty = Random(bpp, 2049, 2050, 3u); }
    CLamina source = Random(bpp, 2049, 2050, 4u);
    CLamina expected(nullptr, nullptr, 2049, 2050, bpp);
    CLamina built;
    lamina::NewImage image(2049, 2050, bpp, nullptr, lamina::NewRows::kPixelsWritten);
    ASSERT_TRUE(image.Ok());
    const lamina::ImageView v = image.View();
    const lamina::ImageView e = lamina::BlockAccess::View(expected);
    const lamina::ImageView s = lamina::BlockAccess::View(source);
    lamina::DispatchDepth(bpp, [&](auto d) {
      constexpr int B = decltype(d)::value;
      for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
          lamina::Px<B>::Set(v.Row(y), x, lamina::Px<B>::Get(s.Row(y), x));
          lamina::Px<B>::Set(e.Row(y), x, lamina::Px<B>::Get(s.Row(y), x));
          if (B == 32) v.Row(y)[4 * x + 3] = 0;  // the caller's to write at 32 bits
        }
    });
    image.InstallInto(built, CString(lamina::kDefaultImageName));
    EXPECT_TRUE(Snap(built) == Snap(expected)) << bpp << " bits";
  }
}

TEST(ImageBuilder, RefusesWhatTheDataConstructorRefusesAndKeepsTheImage) {
  CLamina img = FromRows(8, {{1, 2}});
  const Snapshot before = Snap(img);
  for (auto geometry : {std::vector<int>{-1, 2, 8}, {2, -1, 8}, {2, 2, 16}, {2, 2, 0},
                        {65536, 65536, 8}}) {
    lamina::NewImage image(geometry[0], geometry[1], geometry[2], nullptr);
    EXPECT_FALSE(image.Ok());
    image.InstallInto(img);
  }
  {
    FailingAllocations none;
    lamina::NewImage image(4, 4, 8, nullptr);
    EXPECT_FALSE(image.Ok());
  }
  {
    lamina::NewImage dropped(4, 4, 24, nullptr);  // never installed: freed, image untouched
  }
  EXPECT_EQ(Snap(img), before);
}

// The reference: every value of the canvas an operation would pad, computed plainly from the
// accessors. Canvas (cx, cy) stands for image column cx - m.left, row cy - m.top.
using Plane = std::vector<std::vector<int>>;

int WorkingValue(CLamina& img, int x, int y, int channel) {
  if (img.fnIMG_GetColorDepth() <= 8) return static_cast<int>(img.fnIMG_GetPixel(x, y));
  const RGBQUAD c = Colour(img, x, y);
  return channel == 0 ? c.rgbBlue : channel == 1 ? c.rgbGreen : c.rgbRed;
}

Plane Padded(CLamina& img, int channel, Border rule, Margins m, int outside, int shift) {
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows();
  Plane p(static_cast<std::size_t>(h + m.top + m.bottom),
          std::vector<int>(static_cast<std::size_t>(w + m.left + m.right), outside));
  if (rule == Border::kShifted) {
    // Literally the five copies into a canvas larger by `shift` on each side, in their order.
    const int s = shift;
    Plane canvas(static_cast<std::size_t>(h + 2 * s),
                 std::vector<int>(static_cast<std::size_t>(w + 2 * s), outside));
    const int offsets[5][2] = {{0, 0}, {2 * s, 0}, {2 * s, 2 * s}, {0, 2 * s}, {s, s}};
    for (const auto& o : offsets)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if (o[0] + x < w + 2 * s && o[1] + y < h + 2 * s)
            canvas[o[1] + y][o[0] + x] = WorkingValue(img, x, y, channel);
    for (int cy = 0; cy < h + m.top + m.bottom; ++cy)
      for (int cx = 0; cx < w + m.left + m.right; ++cx)
        p[cy][cx] = canvas[cy - m.top + s][cx - m.left + s];
    return p;
  }
  for (int cy = 0; cy < h + m.top + m.bottom; ++cy)
    for (int cx = 0; cx < w + m.left + m.right; ++cx) {
      int x = cx - m.left, y = cy - m.top;
      if (rule == Border::kReplicate) {
        x = x < 0 ? 0 : (x >= w ? w - 1 : x);
        y = y < 0 ? 0 : (y >= h ? h - 1 : y);
      }
      if (img.fnIMG_IsInside(x, y)) p[cy][cx] = WorkingValue(img, x, y, channel);
    }
  return p;
}

struct Shape {
  int width, height;
};

TEST(BorderedRows, WindowsMatchAPlainlyPaddedCopy) {
  const Shape shapes[] = {{1, 1}, {1, 7}, {9, 1}, {3, 4}, {13, 11}, {17, 6}};
  const Margins margins[] = {Margins::Square(1), Margins::Square(2), Margins::Square(5),
                             Margins{2, 0, 1, 0}, Margins{0, 3, 0, 2}};
  const Border rules[] = {Border::kConstant, Border::kShifted, Border::kReplicate, Border::kFrame};
  unsigned seed = 1;
  for (int bpp : kDepths)
    for (const Shape& s : shapes) {
      CLamina img = Random(bpp, s.width, s.height, seed++);
      const int channel = bpp > 8 ? static_cast<int>(seed % 3) : 0;
      for (Border rule : rules)
        for (const Margins& m : margins) {
          const int shift = std::max(std::max(m.left, m.right), std::max(m.top, m.bottom));
          const int outside = 200 + static_cast<int>(seed % 50);
          const Plane expected = Padded(img, channel, rule, m, outside, shift);
          lamina::BorderedRows rows(lamina::BlockAccess::View(img), channel, rule, m,
                                    static_cast<std::uint8_t>(outside), shift);
          ASSERT_TRUE(rows.Ok());
          // The frame rule promises only windows wholly inside the image.
          const int first = rule == Border::kFrame ? m.top : 0;
          const int last = rule == Border::kFrame ? s.height - m.bottom : s.height;
          for (int y = first; y < last; ++y) {
            const std::uint8_t* const* w = rows.Window(y);
            for (int j = 0; j <= m.top + m.bottom; ++j)
              for (int x = -m.left; x < s.width + m.right; ++x) {
                const bool used = rule != Border::kFrame || (x >= 0 && x < s.width);
                if (used && w[j][x] != expected[y + j][x + m.left]) {
                  ADD_FAILURE() << bpp << " bits " << s.width << "x" << s.height << " rule "
                                << static_cast<int>(rule) << " margins " << m.left << m.right
                                << m.top << m.bottom << ": row " << y - m.top + j << " column "
                                << x << " gives " << int(w[j][x]) << ", padded copy "
                                << expected[y + j][x + m.left];
                  return;
                }
              }
          }
        }
    }
}

TEST(BorderedRows, JumpsBetweenRowsAndWholeExtendedRowsAgreeWithTheRing) {
  CLamina img = Random(8, 11, 9, 77u);
  const Margins m = Margins::Square(2);
  lamina::BorderedRows ring(lamina::BlockAccess::View(img), 0, Border::kShifted, m, 0, 2);
  lamina::BorderedRows single(lamina::BlockAccess::View(img), 0, Border::kShifted, m, 0, 2);
  std::vector<std::uint8_t> row(15);
  for (int y : {8, 0, 4, 5, 3, 8}) {
    const std::uint8_t* const* w = ring.Window(y);
    for (int j = 0; j < 5; ++j) {
      single.Extended(y - 2 + j, row.data());
      EXPECT_EQ(std::vector<std::uint8_t>(w[j] - 2, w[j] + 13), row) << y << " " << j;
    }
  }
}

}  // namespace
