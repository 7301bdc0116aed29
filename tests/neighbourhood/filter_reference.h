// The filters as the text states them, for comparisons: the kernel table transcribed on its own
// from the filter table, and a plain convolution over a padded copy of the working values built
// by literal insertions, read and written through the public pixel accessors only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "CLamina.h"
#include "core/block_access.h"

namespace lamina_test {

// "a b c / d e f / g h i": rows top first.
inline std::vector<int> KernelOf(const std::string& text) {
  std::vector<int> k;
  std::istringstream in(text);
  std::string word;
  while (in >> word)
    if (word != "/") k.push_back(std::stoi(word));
  return k;
}
inline std::vector<int> Ring(int n, int around, int centre) {
  std::vector<int> k(static_cast<std::size_t>(n * n), around);
  k[static_cast<std::size_t>(n * n / 2)] = centre;
  return k;
}

enum class RefKind {
  kNone,
  kConv,
  kPair,
  kCompass,
  kMedian,
  kMax,
  kMin,
  kMid,
  kExtreme,
  kGeo,
  kHarm
};

struct RefFilter {
  RefKind kind = RefKind::kNone;
  int size = 0;
  std::vector<int> a, b;
  int divisor = 1;
};

inline RefFilter RefLookup(int number) {
  auto conv = [](int n, std::vector<int> k, int d = 1) {
    return RefFilter{RefKind::kConv, n, std::move(k), {}, d};
  };
  auto order = [](RefKind kind, int n) { return RefFilter{kind, n, {}, {}, 1}; };
  const std::vector<int> k44 = KernelOf("-1 0 1 / -1 0 1 / -1 0 1");
  const std::vector<int> k45 = KernelOf("-1 -1 -1 / 0 0 0 / 1 1 1");
  const std::vector<int> k46 = KernelOf("-1 -1 0 / -1 0 1 / 0 1 1");
  const std::vector<int> k47 = KernelOf("0 -1 -1 / 1 0 -1 / 1 1 0");
  const std::vector<int> k51 = KernelOf("-1 0 1 / -2 0 2 / -1 0 1");
  const std::vector<int> k52 = KernelOf("-1 -2 -1 / 0 0 0 / 1 2 1");
  const std::vector<int> k53 = KernelOf("-2 -1 0 / -1 0 1 / 0 1 2");
  const std::vector<int> k54 = KernelOf("0 -1 -2 / 1 0 -1 / 2 1 0");
  const std::vector<int> k41 = KernelOf("0 1 / -1 0"), k42 = KernelOf("1 0 / 0 -1");
  switch (number) {
    case 0:
      return conv(3, KernelOf("-1 -1 -1 / -1 8 -1 / -1 -1 -1"));
    case 1:
      return conv(3, KernelOf("-1 2 -1 / -1 2 -1 / -1 2 -1"));
    case 2:
      return conv(3, KernelOf("-1 -1 -1 / 2 2 2 / -1 -1 -1"));
    case 3:
      return conv(3, KernelOf("-1 -1 2 / -1 2 -1 / 2 -1 -1"));
    case 4:
      return conv(3, KernelOf("2 -1 -1 / -1 2 -1 / -1 -1 2"));
    case 5:
      return conv(3, KernelOf("0 -1 0 / -1 5 -1 / 0 -1 0"));
    case 6:
      return conv(3, KernelOf("-1 -1 -1 / -1 9 -1 / -1 -1 -1"));
    case 7:
      return conv(3, KernelOf("1 -2 1 / -2 5 -2 / 1 -2 1"));
    case 8:
      return conv(3, KernelOf("-1 -2 -1 / -2 13 -2 / -1 -2 -1"));
    case 9:
      return conv(3, Ring(3, -2, 17));
    case 10:
      return conv(3, Ring(3, -3, 25));
    case 11:
      return conv(3, Ring(3, -4, 33));
    case 12:
      return conv(5, Ring(5, -1, 26));
    case 13:
      return conv(5, Ring(5, -2, 49));
    case 14:
      return conv(5, KernelOf("-1 -1 -1 -1 -1 / -1 -2 -2 -2 -1 / -1 -2 33 -2 -1 / "
                              "-1 -2 -2 -2 -1 / -1 -1 -1 -1 -1"));
    case 15:
      return conv(5, KernelOf("-8 -5 -2 -5 -8 / -5 3 9 3 -5 / -2 9 33 9 -2 / -5 3 9 3 -5 / "
                              "-8 -5 -2 -5 -8"));
    case 16:
      return conv(3, Ring(3, 1, 1), 9);
    case 17:
      return conv(3, KernelOf("1 1 1 / 1 2 1 / 1 1 1"), 9);
    case 18:
      return conv(3, KernelOf("1 2 1 / 2 4 2 / 1 2 1"), 9);
    case 19:
      return conv(5, Ring(5, 1, 1), 25);
    case 20:
      return conv(7, Ring(7, 1, 1), 49);
    case 21:
      return conv(9, Ring(9, 1, 1), 81);
    case 22:
      return order(RefKind::kMedian, 3);
    case 23:
      return order(RefKind::kMedian, 5);
    case 24:
      return order(RefKind::kMedian, 7);
    case 25:
      return order(RefKind::kMedian, 9);
    case 26:
      return conv(3, KernelOf("1 2 1 / 2 4 2 / 1 2 1"), 16);
    case 27:
      return conv(3, KernelOf("6 25 6 / 25 100 25 / 6 25 6"), 224);
    case 28:
      return conv(5, KernelOf("1 1 2 1 1 / 1 2 4 2 1 / 2 4 8 4 2 / 1 2 4 2 1 / 1 1 2 1 1"), 52);
    case 29:
      return conv(5, KernelOf("2 4 5 4 2 / 4 9 12 9 4 / 5 12 15 12 5 / 4 9 12 9 4 / 2 4 5 4 2"),
                  115);
    case 30:
      return conv(5, KernelOf("3 6 8 6 3 / 6 14 19 14 6 / 8 19 25 19 8 / 6 14 19 14 6 / 3 6 8 6 3"),
                  249);
    case 31:
      return conv(5, KernelOf("1 4 7 4 1 / 4 16 26 16 4 / 7 26 41 26 7 / 4 16 26 16 4 / 1 4 7 4 1"),
                  273);
    case 32:
      return conv(5,
                  KernelOf("6 18 25 18 6 / 18 50 71 50 18 / 25 71 100 71 25 / 18 50 71 50 18 / "
                           "6 18 25 18 6"),
                  852);
    case 33:
      return conv(7,
                  KernelOf("1 1 2 2 2 1 1 / 1 2 2 4 2 2 1 / 2 2 4 8 4 2 2 / 2 4 8 16 8 4 2 / "
                           "2 2 4 8 4 2 2 / 1 2 2 4 2 2 1 / 1 1 2 2 2 1 1"),
                  140);
    case 34:
      return conv(3, KernelOf("1 1 1 / 1 2 1 / 1 1 1"), 10);
    case 35:
      return conv(3, KernelOf("1 1 1 / 1 5 1 / 1 1 1"), 13);
    case 36:
      return conv(5, KernelOf("1 1 1 1 1 / 1 5 5 5 1 / 1 5 44 5 1 / 1 5 5 5 1 / 1 1 1 1 1"), 100);
    case 37:
      return conv(5, KernelOf("1 1 1 1 1 / 1 0 0 0 1 / 1 0 0 0 1 / 1 0 0 0 1 / 1 1 1 1 1"), 16);
    case 40:
      return RefFilter{RefKind::kPair, 2, k42, k41, 1};
    case 41:
      return conv(2, k41);
    case 42:
      return conv(2, k42);
    case 43:
      return RefFilter{RefKind::kPair, 3, k45, k44, 1};
    case 44:
      return conv(3, k44);
    case 45:
      return conv(3, k45);
    case 46:
      return conv(3, k46);
    case 47:
      return conv(3, k47);
    case 48:
      return RefFilter{RefKind::kPair, 3, k46, k47, 1};
    case 49:
      return RefFilter{RefKind::kCompass, 3, k45, {}, 1};
    case 50:
      return RefFilter{RefKind::kPair, 3, k52, k51, 1};
    case 51:
      return conv(3, k51);
    case 52:
      return conv(3, k52);
    case 53:
      return conv(3, k53);
    case 54:
      return conv(3, k54);
    case 55:
      return RefFilter{RefKind::kPair, 3, k53, k54, 1};
    case 56:
      return RefFilter{RefKind::kCompass, 3, k52, {}, 1};
    case 57:
      return RefFilter{RefKind::kCompass, 3, KernelOf("-3 -3 5 / -3 0 5 / -3 -3 5"), {}, 1};
    case 58:
      return conv(3, KernelOf("0 -1 0 / -1 4 -1 / 0 -1 0"));
    case 59:
      return conv(3, KernelOf("-1 -1 -1 / -1 8 -1 / -1 -1 -1"));
    case 60:
      return conv(3, KernelOf("1 -2 1 / -2 4 -2 / 1 -2 1"));
    case 61:
      return conv(3, KernelOf("-1 -2 -1 / -2 12 -2 / -1 -2 -1"));
    case 62:
      return conv(5, Ring(5, -1, 24));
    case 63: {
      std::vector<int> k(81, -1);
      for (int j = 3; j <= 5; ++j)
        for (int i = 3; i <= 5; ++i) k[j * 9 + i] = 8;
      return conv(9, k);
    }
    case 64:
      return conv(5, KernelOf("0 0 -1 0 0 / 0 -1 -2 -1 0 / -1 -2 16 -2 -1 / 0 -1 -2 -1 0 / "
                              "0 0 -1 0 0"));
    case 65: {
      const char* rows[] = {"0 0 0 -1 -1 -2 -1 -1 0 0 0",
                            "0 0 -2 -4 -8 -9 -8 -4 -2 0 0",
                            "0 -2 -7 -15 -22 -23 -22 -15 -7 -2 0",
                            "-1 -4 -15 -24 -14 -1 -14 -24 -15 -4 -1",
                            "-1 -8 -22 -14 52 103 52 -14 -22 -8 -1",
                            "-2 -9 -23 -1 103 178 103 -1 -23 -9 -2"};
      std::string text;
      for (int j = 0; j < 11; ++j) text += std::string(rows[j <= 5 ? j : 10 - j]) + " / ";
      return conv(11, KernelOf(text));
    }
    case 66:
      return order(RefKind::kMax, 3);
    case 67:
      return order(RefKind::kMin, 3);
    case 68:
      return order(RefKind::kMid, 3);
    case 70:
      return order(RefKind::kExtreme, 3);
    case 71:
      return order(RefKind::kExtreme, 5);
    case 72:
      return order(RefKind::kExtreme, 7);
    case 73:
      return order(RefKind::kExtreme, 9);
    case 74:
      return order(RefKind::kGeo, 3);
    case 75:
      return order(RefKind::kGeo, 5);
    case 76:
      return order(RefKind::kHarm, 3);
    case 77:
      return order(RefKind::kHarm, 5);
    default:
      return RefFilter{};
  }
}

// The working value: the index, or the red byte.
inline int Working(CLamina& img, int x, int y) {
  if (img.fnIMG_GetColorDepth() <= 8) return static_cast<int>(img.fnIMG_GetPixel(x, y));
  RGBQUAD c{};
  img.fnIMG_GetRGBPixel(x, y, &c);
  return c.rgbRed;
}
inline void PutWorking(CLamina& img, int x, int y, int u) {
  if (img.fnIMG_GetColorDepth() <= 8)
    img.fnIMG_SetPixel(x, y, static_cast<unsigned>(u));
  else
    img.fnIMG_SetRGBPixel(x, y, RGBQUAD{BYTE(u), BYTE(u), BYTE(u), 0});
}

// The convolution: the padded copy by literal insertions, 32-bit sums with extremes from 0, the
// mapping, then the result (a copy of the image for border 0, a new image for the pads).
inline CLamina ReferenceConvolution(CLamina& img, const std::vector<int>& k, int size, int divisor,
                                    int mapping, int border) {
  const int w = img.fnIMG_GetColumns(), h = img.fnIMG_GetRows(), bpp = img.fnIMG_GetColorDepth();
  const int r = size >= 2 ? size / 2 : 0, pad = border == 0 ? 0 : r;
  const int cw = w + 2 * pad, ch = h + 2 * pad;
  const int fill = border == 1 ? (bpp == 4 ? 15 : (bpp == 8 ? 255 : 0)) : 0;
  std::vector<std::vector<int>> canvas(ch, std::vector<int>(cw, fill));
  auto insert = [&](int ox, int oy) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (ox + x < cw && oy + y < ch) canvas[oy + y][ox + x] = Working(img, x, y);
  };
  if (border == 2) {
    insert(0, 0);
    insert(2 * r, 0);
    insert(2 * r, 2 * r);
    insert(0, 2 * r);
  }
  insert(pad, pad);
  std::vector<std::vector<std::int32_t>> sums(ch, std::vector<std::int32_t>(cw));
  std::int32_t smin = 0, smax = 0;
  for (int y = r; y < ch - r; ++y)
    for (int x = r; x < cw - r; ++x) {
      std::int64_t s = 0;
      for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i)
          s += std::int64_t{k[j * size + i]} * canvas[y - r + j][x - r + i];
      sums[y][x] = static_cast<std::int32_t>(static_cast<std::uint32_t>(s));
      if (sums[y][x] < smin)
        smin = sums[y][x];
      else if (sums[y][x] > smax)
        smax = sums[y][x];
    }
  const int ceiling = bpp == 4 ? 15 : 255;
  const std::int64_t qmin = smin / divisor, qmax = smax / divisor;
  CLamina out = img;
  if (border != 0) {
    std::vector<RGBQUAD> palette(256);
    if (bpp <= 8)
      std::copy(img.fnIMG_GetPointers().lpPalette, img.fnIMG_GetPointers().lpPalette + (1 << bpp),
                palette.begin());
    out = CLamina(nullptr, palette.data(), w, h, bpp);
    lamina::BlockAccess::Name(out) = lamina::BlockAccess::Name(img);
  }
  for (int y = r; y < ch - r; ++y)
    for (int x = r; x < cw - r; ++x) {
      const std::int64_t q = std::int64_t{sums[y][x]} / divisor;
      std::int64_t u = 0;
      if (mapping == 2) u = std::min<std::int64_t>(q < 0 ? -q : q, ceiling);
      if (mapping == 1) u = std::clamp<std::int64_t>(q, 0, ceiling);
      if (mapping == 0 && qmax != qmin)
        u = static_cast<int>(static_cast<float>(ceiling) / static_cast<float>(qmax - qmin) *
                             static_cast<float>(q - qmin)) &
            255;
      PutWorking(out, x - pad, y - pad, static_cast<int>(u));
    }
  return out;
}

// The compass turn: the outer ring moves one place towards the top-left corner.
inline std::vector<int> Turned(const std::vector<int>& k) {
  std::vector<int> t = k;
  t[0] = k[1];
  t[1] = k[2];
  t[2] = k[5];
  t[5] = k[8];
  t[8] = k[7];
  t[7] = k[6];
  t[6] = k[3];
  t[3] = k[0];
  return t;
}

// Window values of (x, y), rows from the top, each from the left.
inline std::vector<int> WindowOf(CLamina& img, int x, int y, int n) {
  std::vector<int> v;
  for (int j = -n / 2; j <= n / 2; ++j)
    for (int i = -n / 2; i <= n / 2; ++i) v.push_back(Working(img, x + i, y + j));
  return v;
}

inline int OrderValue(RefKind kind, std::vector<int> v, int centre) {
  const int n = static_cast<int>(v.size());
  std::vector<int> sorted = v;
  std::sort(sorted.begin(), sorted.end());
  const int lo = sorted.front(), hi = sorted.back();
  switch (kind) {
    case RefKind::kMedian:
      return sorted[n / 2];
    case RefKind::kMax:
      return hi;
    case RefKind::kMin:
      return lo;
    case RefKind::kMid:
      return (lo + hi) / 2;
    case RefKind::kExtreme:
      return (hi - centre) < (centre - lo) ? lo : hi;
    case RefKind::kGeo: {
      double product = 1.0;
      for (int a : v) product *= a;
      return static_cast<int>(std::pow(product, static_cast<double>(1.0f / n))) & 255;
    }
    default: {
      float s = 0.0f;
      for (int a : v) s += a == 0 ? INFINITY : 1.0f / static_cast<float>(a);
      return static_cast<int>(static_cast<float>(n) / s) & 255;
    }
  }
}

// The filter as stated, through the reference convolution and the library's plain addition.
inline CLamina ReferenceFilter(CLamina& img, int number, int mapping, int border) {
  const RefFilter f = RefLookup(number);
  switch (f.kind) {
    case RefKind::kConv:
      return ReferenceConvolution(img, f.a, f.size, f.divisor, mapping, border);
    case RefKind::kPair: {
      CLamina a = ReferenceConvolution(img, f.a, f.size, 1, mapping, border);
      CLamina b = ReferenceConvolution(img, f.b, f.size, 1, mapping, border);
      a.fnIMG_Arithmetic(0, &b);
      return a;
    }
    case RefKind::kCompass: {
      CLamina best = img;
      best.fnIMG_Initialize(0u);
      std::vector<int> k = f.a;
      for (int turn = 0; turn < 8; ++turn, k = Turned(k)) {
        CLamina pass = ReferenceConvolution(img, k, 3, 1, mapping, border);
        for (int y = 0; y < img.fnIMG_GetRows(); ++y)
          for (int x = 0; x < img.fnIMG_GetColumns(); ++x)
            if (Working(pass, x, y) > Working(best, x, y))
              PutWorking(best, x, y, Working(pass, x, y));
      }
      return best;
    }
    default: {
      CLamina out = img;
      const int r = f.size / 2;
      for (int y = r; y < img.fnIMG_GetRows() - r; ++y)
        for (int x = r; x < img.fnIMG_GetColumns() - r; ++x)
          PutWorking(out, x, y,
                     OrderValue(f.kind, WindowOf(img, x, y, f.size), Working(img, x, y)));
      return out;
    }
  }
}

}  // namespace lamina_test
