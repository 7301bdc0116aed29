// Morphology: refusals, pictures one can check by hand, every operation on random pictures against
// a plain pixel-by-pixel reference, and flat elements against OpenCV where it is installed.
#include <algorithm>
#include <optional>
#include <random>

#include "core/cpu.h"
#include "support/pictures.h"

#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

using namespace lamina_test;
using Element = std::vector<unsigned char>;

int Morph(CLamina& img, int op, Element e, int w, int h, int ox, int oy) {
  return img.fnIMG_Morphological(op, e.empty() ? nullptr : e.data(), w, h, ox, oy);
}

TEST(Morphology, RefusesWithTheImageUntouched) {
  struct Refusal {
    const char* what;
    int bpp, op, w, h, ox, oy;
    bool element, starved;
    int code;
  };
  const Refusal cases[] = {
      {"operation 7", 8, 7, 3, 3, 1, 1, true, false, 1},
      {"operation -1 before depth", 24, -1, 3, 3, 1, 1, true, false, 1},
      {"24 bits", 24, 0, 3, 3, 1, 1, true, false, 2},
      {"16 bits before origin", 16, 0, 3, 3, 3, 1, true, false, 2},
      {"origin at the width", 8, 0, 3, 3, 3, 1, true, false, 3},
      {"negative origin", 4, 2, 3, 3, -1, 0, true, false, 3},
      {"no width", 8, 0, 0, 3, 0, 0, true, false, 3},
      {"origin before element", 8, 0, 3, 3, 5, 0, false, false, 3},
      {"no element", 8, 1, 3, 3, 1, 1, false, false, 4},
      // Without memory for the copies (or, below, for a compact block) nothing changes.
      {"opening without memory", 8, 2, 3, 3, 1, 1, true, true, 5},
      {"gradient without memory", 1, 5, 3, 3, 1, 1, true, true, 5},
      {"top-hat without memory", 4, 6, 3, 3, 1, 1, true, true, 5},
  };
  for (const Refusal& c : cases) {
    CLamina img =
        c.bpp == 16 ? Sixteen(Rows(4, std::vector<std::uint32_t>(5, 3))) : Random(c.bpp, 9, 7, 5);
    const Snapshot before = Snap(img);
    std::optional<FailingAllocations> none;
    if (c.starved) none.emplace();
    EXPECT_EQ(Morph(img, c.op, c.element ? Element(9, 0) : Element(), c.w, c.h, c.ox, c.oy), c.code)
        << c.what;
    EXPECT_EQ(Snap(img), before) << c.what;
  }
  // A block with bytes after its rows (as a file may leave it) needs a compact one; with it, it
  // comes out compact, as assigning the working copy leaves it.
  CLamina loaded = Raw(8, 10, 4, GrayRamp(256), 24);
  const Snapshot before = Snap(loaded);
  {
    FailingAllocations none;
    EXPECT_EQ(Morph(loaded, 0, Element(9, 0), 3, 3, 1, 1), 5);
  }
  EXPECT_EQ(Snap(loaded), before);
  EXPECT_EQ(Morph(loaded, 0, Element(9, 0), 3, 3, 1, 1), 0);
  EXPECT_EQ(Snap(loaded).block.size(), 40 + 1024 + 4 * 12u);
}

TEST(Morphology, PicturesByHand) {
  struct Case {
    const char* what;
    int bpp, op;
    Element e;
    int w, h, ox, oy;
    Rows before, after;
  };
  const Rows spot = {{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 0, 1, 1}, {1, 1, 1, 1, 1}};
  const Rows block = {{1, 1, 1, 1, 1}, {1, 0, 0, 0, 1}, {1, 0, 0, 0, 1}, {1, 0, 0, 0, 1}};
  const Rows ramp = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
  const Rows largest = {{6, 7, 8, 8}, {10, 11, 12, 12}, {10, 11, 12, 12}};
  const Element zeros(9, 0);
  const Case cases[] = {
      // 3 x 3 zeros: the largest and the smallest of each window; outside points count as 0 for
      // the dilation and as the top level for the erosion, so the edges are neither darkened nor
      // brightened.
      {"3 x 3 maximum", 8, 0, zeros, 3, 3, 1, 1, ramp, largest},
      {"3 x 3 minimum", 8, 1, zeros, 3, 3, 1, 1, ramp, {{1, 1, 2, 3}, {1, 1, 2, 3}, {5, 5, 6, 7}}},
      {"4 bits stop at 15", 4, 0, Element(4, 3), 2, 2, 0, 0, {{13, 1, 2}}, {{15, 15, 5}}},
      // A 2 x 1 element {5, 0} with its origin on the left: the dilation pairs the pixel with the
      // reflected entry 5 and its left neighbour with 0; the erosion pairs the left neighbour
      // with 5 and the pixel with 0.
      {"dilation reflects", 8, 0, {5, 0}, 2, 1, 0, 0, {{0, 0, 100, 0, 0}}, {{5, 5, 105, 100, 5}}},
      {"erosion does not", 8, 1, {5, 0}, 2, 1, 0, 0, {{10, 20, 30, 40, 50}}, {{10, 5, 15, 25, 35}}},
      // Sets: index 0 is the object.
      {"a spot grows", 1, 0, zeros, 3, 3, 1, 1, spot, block},
      {"a spot vanishes", 1, 1, zeros, 3, 3, 1, 1, spot, Rows(4, {1, 1, 1, 1, 1})},
      {"gradient of a spot", 1, 5, zeros, 3, 3, 1, 1, spot, block},
      {"no member erodes all", 1, 1, {1, 1}, 2, 1, 0, 0, {{1, 0, 1}}, {{0, 0, 0}}},
  };
  for (const Case& c : cases) {
    CLamina img = Marked(c.bpp, c.before);
    const std::vector<RGBQUAD> palette = PaletteOf(img);
    EXPECT_EQ(Morph(img, c.op, c.e, c.w, c.h, c.ox, c.oy), 0) << c.what;
    EXPECT_EQ(PixelsOf(img), c.after) << c.what;
    EXPECT_EQ(Packed(PaletteOf(img)), Packed(palette)) << c.what;
    EXPECT_TRUE(PaddingKept(img)) << c.what;
  }
}

// ---- A plain reference: every operation as stated, on rows of values ----------------------

struct Shape {
  Element e;
  int w, h;
};

Rows Primitive(const Rows& in, int bpp, bool dilate, const Shape& s, int ox, int oy) {
  const int height = int(in.size()), width = int(in[0].size());
  const int top = (1 << bpp) - 1, a = s.w - 1 - ox, c = s.h - 1 - oy;
  Rows out = in;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int m = dilate ? 0 : top;
      bool object = bpp == 1 && !dilate;  // sets: erosion holds until a member fails
      for (int j = 0; j < s.h; ++j)
        for (int i = 0; i < s.w; ++i) {
          const int px = x - a + i, py = y - c + j;
          const bool inside = px >= 0 && py >= 0 && px < width && py < height;
          const int level = inside ? int(in[py][px]) : -1;
          if (bpp == 1) {
            if (dilate) {
              const int entry = s.e[(s.h - 1 - j) * s.w + (s.w - 1 - i)];
              if (entry != 1 && level == 0) object = true;
            } else if (s.e[j * s.w + i] == 0 && level != 0) {
              object = false;
            }
          } else if (dilate) {
            m = std::max(m, (inside ? level : 0) + s.e[(s.h - 1 - j) * s.w + (s.w - 1 - i)]);
          } else {
            m = std::min(m, (inside ? level : top) - s.e[j * s.w + i]);
          }
        }
      out[y][x] = bpp == 1 ? (object ? 0 : 1) : std::clamp(m, 0, top);
    }
  return out;
}

Rows Difference(const Rows& p, const Rows& q, int bpp) {
  Rows out = p;
  for (std::size_t y = 0; y < p.size(); ++y)
    for (std::size_t x = 0; x < p[y].size(); ++x)
      out[y][x] = bpp == 1 ? ((p[y][x] == 0 && q[y][x] == 1) ? 0 : 1)
                           : (p[y][x] > q[y][x] ? p[y][x] - q[y][x] : 0);
  return out;
}

Rows Reference(const Rows& in, int bpp, int op, const Shape& s, int ox, int oy) {
  const int mx = s.w - 1 - ox, my = s.h - 1 - oy;
  switch (op) {
    case 0:
    case 1:
      return Primitive(in, bpp, op == 0, s, ox, oy);
    case 2:
      return Reference(Reference(in, bpp, 1, s, mx, my), bpp, 0, s, mx, my);
    case 3:
      return Reference(Reference(in, bpp, 0, s, mx, my), bpp, 1, s, mx, my);
    case 4:
      return Reference(Reference(in, bpp, 2, s, mx, my), bpp, 3, s, mx, my);
    case 5:
      return Difference(Reference(in, bpp, 0, s, mx, my), Reference(in, bpp, 1, s, mx, my), bpp);
    default:
      return Difference(in, Reference(in, bpp, 2, s, mx, my), bpp);
  }
}

TEST(Morphology, RandomPicturesMatchAPlainReference) {
  std::mt19937 rng(41);
  for (int round = 0; round < 84; ++round) {
    const int bpp = round % 3 == 0 ? 1 : round % 3 == 1 ? 4 : 8, op = round % 7;
    const int width = 3 + int(rng() % 40), height = 2 + int(rng() % 12);
    Shape s{{}, 1 + int(rng() % 4), 1 + int(rng() % 4)};
    // Flat zeros, flat weights, or any weights (sets: 0, 1 and 2, which only dilation counts).
    const int kind = int(rng() % 3);
    const int flat = int(rng() % 40);
    for (int k = 0; k < s.w * s.h; ++k)
      s.e.push_back(static_cast<unsigned char>(kind == 0   ? 0
                                               : bpp == 1  ? rng() % 3
                                               : kind == 1 ? flat
                                                           : rng() % 60));
    const int ox = int(rng() % s.w), oy = int(rng() % s.h);
    Rows rows(height, std::vector<std::uint32_t>(width));
    for (auto& row : rows)
      for (auto& p : row) p = rng() % (1u << bpp);
    const Rows expected = Reference(rows, bpp, op, s, ox, oy);
    for (int widest : {0, 2, 3}) {
      lamina::cpu::g_widest = widest;
      CLamina img = Marked(bpp, rows);
      ASSERT_EQ(Morph(img, op, s.e, s.w, s.h, ox, oy), 0);
      EXPECT_EQ(PixelsOf(img), expected)
          << "operation " << op << " at " << bpp << " bits, " << s.w << " x " << s.h
          << " element of kind " << kind << ", origin " << ox << "," << oy << ", set " << widest;
      EXPECT_TRUE(PaddingKept(img));
    }
  }
  lamina::cpu::g_widest = 3;
}

#ifdef LAMINA_HAVE_OPENCV
TEST(MorphologyPeer, FlatElementsAgreeWithOpenCV) {
  // A flat element of zeros is OpenCV's rectangle of ones, anchored at the mirrored origin (both
  // windows run from x - anchor to x - anchor + w - 1); outside points are 0 for the dilation and
  // 255 for the erosion, which OpenCV's default border value also means.
  std::mt19937 rng(43);
  for (int round = 0; round < 24; ++round) {
    const int w = 1 + int(rng() % 7), h = 1 + int(rng() % 7);
    const int ox = int(rng() % w), oy = int(rng() % h);
    const int width = 20 + int(rng() % 60), height = 10 + int(rng() % 30);
    CLamina img = Random(8, width, height, 100 + round);
    cv::Mat plane(height, width, CV_8U), peer;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) plane.at<std::uint8_t>(y, x) = img.fnIMG_GetPixel(x, y);
    const bool dilate = round % 2 == 0;
    const cv::Mat kernel = cv::Mat::ones(h, w, CV_8U);
    const cv::Point anchor(w - 1 - ox, h - 1 - oy);
    if (dilate)
      cv::dilate(plane, peer, kernel, anchor);
    else
      cv::erode(plane, peer, kernel, anchor);
    ASSERT_EQ(Morph(img, dilate ? 0 : 1, Element(w * h, 0), w, h, ox, oy), 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(img.fnIMG_GetPixel(x, y), peer.at<std::uint8_t>(y, x))
            << (dilate ? "dilate " : "erode ") << w << " x " << h << " origin " << ox << "," << oy
            << " at " << x << "," << y;
  }
}
#endif

}  // namespace
