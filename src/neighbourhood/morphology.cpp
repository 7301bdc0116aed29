// fnIMG_Morphological: dilation, erosion, opening, closing, opening then closing, gradient and
// top-hat with the caller's rectangular structuring element, on 1-bit images as sets (index 0 the
// object) and on 4- and 8-bit images as gray levels with an additive element.
//
// Dilation and erosion read each window through a ring of extended rows (the points outside the
// image hold 0 for a gray dilation, the top level for a gray erosion, the background 1 for sets)
// and write each finished row straight back: the ring already holds every row a later window
// needs, so the image serves as its own working copy. A flat element (all weights equal, or every
// entry a member of the set) is separable: the extreme of each column of the window first, then
// along the row, then the weight once. Other elements take every entry in turn. Each step is a
// whole-row loop of byte maxima, minima and saturating sums, compiled for the plain processor and
// again for AVX2 and AVX-512.
//
// The composite operations run on copies of the image with the origin mirrored through the
// element's centre, as they are defined; gray differences go through the combination family's
// subtraction. The image takes the result only when everything has succeeded.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "combine/combine.h"
#include "core/block_access.h"
#include "core/bordered_rows.h"
#include "core/cpu.h"
#include "core/image_builder.h"
#include "core/pixel_access.h"
#include "neighbourhood/codes.h"
#include "neighbourhood/neighbourhood.h"
#include "neighbourhood/working_copy.h"

#define LAMINA_INLINE inline __attribute__((always_inline))

namespace lamina {
namespace neighbourhood {
namespace {

using std::size_t;
using Byte = std::uint8_t;

// ---- Whole-row steps -----------------------------------------------------------------------

LAMINA_INLINE void MaxBody(Byte* __restrict__ a, const Byte* __restrict__ b, size_t n) {
  for (size_t i = 0; i < n; ++i) a[i] = a[i] > b[i] ? a[i] : b[i];
}
LAMINA_INLINE void MinBody(Byte* __restrict__ a, const Byte* __restrict__ b, size_t n) {
  for (size_t i = 0; i < n; ++i) a[i] = a[i] < b[i] ? a[i] : b[i];
}
// a = max(a, min(b + w, 255)): a level plus its weight, as far as a byte goes.
LAMINA_INLINE void AddMaxBody(Byte* __restrict__ a, const Byte* __restrict__ b, Byte w, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned s = static_cast<unsigned>(b[i]) + w;
    const Byte v = static_cast<Byte>(s > 255u ? 255u : s);
    a[i] = a[i] > v ? a[i] : v;
  }
}
// a = min(a, max(b - w, 0)).
LAMINA_INLINE void SubMinBody(Byte* __restrict__ a, const Byte* __restrict__ b, Byte w, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const Byte v = static_cast<Byte>(b[i] > w ? b[i] - w : 0);
    a[i] = a[i] < v ? a[i] : v;
  }
}
// a = min(a + w, top) and a = max(a - w, 0), in place.
LAMINA_INLINE void AddCapBody(Byte* a, Byte w, Byte top, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned s = static_cast<unsigned>(a[i]) + w;
    a[i] = static_cast<Byte>(s > top ? top : s);
  }
}
LAMINA_INLINE void SubBody(Byte* a, Byte w, size_t n) {
  for (size_t i = 0; i < n; ++i) a[i] = static_cast<Byte>(a[i] > w ? a[i] - w : 0);
}

struct Steps {
  void (*max)(Byte*, const Byte*, size_t);
  void (*min)(Byte*, const Byte*, size_t);
  void (*addMax)(Byte*, const Byte*, Byte, size_t);
  void (*subMin)(Byte*, const Byte*, Byte, size_t);
  void (*addCap)(Byte*, Byte, Byte, size_t);
  void (*sub)(Byte*, Byte, size_t);
};

#define LAMINA_STEPS(Suffix, Target)                                                               \
  Target void Max##Suffix(Byte* a, const Byte* b, size_t n) { MaxBody(a, b, n); }                  \
  Target void Min##Suffix(Byte* a, const Byte* b, size_t n) { MinBody(a, b, n); }                  \
  Target void AddMax##Suffix(Byte* a, const Byte* b, Byte w, size_t n) { AddMaxBody(a, b, w, n); } \
  Target void SubMin##Suffix(Byte* a, const Byte* b, Byte w, size_t n) { SubMinBody(a, b, w, n); } \
  Target void AddCap##Suffix(Byte* a, Byte w, Byte top, size_t n) { AddCapBody(a, w, top, n); }    \
  Target void Sub##Suffix(Byte* a, Byte w, size_t n) { SubBody(a, w, n); }                         \
  constexpr Steps k##Suffix{Max##Suffix,    Min##Suffix,    AddMax##Suffix,                        \
                            SubMin##Suffix, AddCap##Suffix, Sub##Suffix};

LAMINA_STEPS(Plain, )
#ifdef LAMINA_X86
LAMINA_STEPS(Avx2, __attribute__((target("avx2"))))
LAMINA_STEPS(Avx512, __attribute__((target("avx512f,avx512bw,avx512vl,prefer-vector-width=512"))))
#endif
#undef LAMINA_STEPS

const Steps& PickSteps() {
#ifdef LAMINA_X86
  if (cpu::HaveAvx512()) return kAvx512;
  if (cpu::HaveAvx2()) return kAvx2;
#endif
  return kPlain;
}

// Writes working values back as pixels; the padding bits of a row's last byte keep their value.
void WriteLevels(const Byte* values, int width, int bpp, Byte* row) {
  if (bpp == 8) {
    std::memcpy(row, values, static_cast<size_t>(width));
  } else if (bpp == 4) {
    const int pairs = width / 2;
    for (int i = 0; i < pairs; ++i)
      row[i] = static_cast<Byte>((values[2 * i] << 4) | (values[2 * i + 1] & 0x0F));
    if (width & 1) row[pairs] = static_cast<Byte>((values[width - 1] << 4) | (row[pairs] & 0x0F));
  } else {
    const int whole = width / 8;
    for (int i = 0; i < whole; ++i) {
      unsigned b = 0;
      for (int k = 0; k < 8; ++k) b = (b << 1) | (values[8 * i + k] & 1u);
      row[i] = static_cast<Byte>(b);
    }
    for (int x = whole * 8; x < width; ++x) Px<1>::Set(row, x, values[x]);
  }
}

// ---- Dilation and erosion ------------------------------------------------------------------

// One dilation or erosion of an image's pixels, with everything it needs allocated up front.
class Morpher {
 public:
  Morpher(const ImageView& v, bool dilate, const Byte* e, int w, int h, int ox, int oy)
      : v_(v), dilate_(dilate), w_(w), h_(h), a_(w - 1 - ox), steps_(PickSteps()) {
    const int c = h - 1 - oy;
    const bool sets = v.bpp == 1;
    top_ = static_cast<Byte>((1u << v.bpp) - 1u);
    // A dilation pairs window point (i, j) with the entry reflected through the centre.
    const size_t entries = static_cast<size_t>(w) * static_cast<size_t>(h);
    try {
      weights_.resize(entries);
      for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
          weights_[static_cast<size_t>(j) * w + i] =
              dilate ? e[static_cast<size_t>(h - 1 - j) * w + (w - 1 - i)]
                     : e[static_cast<size_t>(j) * w + i];
    } catch (const std::bad_alloc&) {
      return;
    }
    size_t members = 0;
    bool flat = true;
    for (size_t k = 0; k < entries; ++k) {
      // A set dilation counts every entry but 1 as a member, a set erosion only the 0s.
      if (sets) weights_[k] = (dilate ? weights_[k] != 1 : weights_[k] == 0) ? 1 : 0;
      members += weights_[k] != 0;
      flat = flat && weights_[k] == weights_[0];
    }
    // Sets: a dilation is the smallest value of its members (0, the object, wins; outside is 1),
    // an erosion the largest (any 1 or outside point keeps the background). Gray levels: a
    // dilation is the largest sum, an erosion the smallest difference.
    largest_ = sets ? !dilate : dilate;
    if (sets && members == 0) {
      // No member: a dilation reaches nothing (all background), an erosion holds everywhere.
      constant_ = true;
      fill_ = dilate ? 1 : 0;
      ok_ = true;
      return;
    }
    flat_ = sets ? members == entries : flat;
    weight_ = sets ? 0 : weights_[0];
    const Byte outside = sets ? 1 : (dilate ? 0 : top_);
    rows_.reset(new (std::nothrow)
                    BorderedRows(v, 0, Border::kConstant, Margins{a_, ox, c, oy}, outside));
    if (!rows_ || !rows_->Ok()) return;
    try {
      column_.resize(static_cast<size_t>(a_) + static_cast<size_t>(v.width) + ox);
      out_.resize(static_cast<size_t>(v.width));
    } catch (const std::bad_alloc&) {
      return;
    }
    ok_ = true;
  }

  bool Ok() const { return ok_; }

  // Writes every pixel of `into`, an image of the same geometry: the source itself, or a copy.
  void Run(const ImageView& into) {
    const int width = v_.width;
    if (width <= 0) return;
    const size_t n = static_cast<size_t>(width);
    Byte* out = out_.data();
    if (constant_) {
      std::vector<Byte> row(n, fill_);
      for (int y = 0; y < v_.height; ++y) WriteLevels(row.data(), width, v_.bpp, into.Row(y));
      return;
    }
    for (int y = 0; y < v_.height; ++y) {
      const Byte* const* window = rows_->Window(y);
      if (flat_) {
        // The extreme of each column of the window, then of each run of w columns.
        const size_t span = column_.size();
        Byte* column = column_.data();
        std::memcpy(column, window[0] - a_, span);
        for (int j = 1; j < h_; ++j) Extreme(column, window[j] - a_, span);
        std::memcpy(out, column, n);
        for (int i = 1; i < w_; ++i) Extreme(out, column + i, n);
        if (!IsSets() && weight_ != 0) {
          if (dilate_)
            steps_.addCap(out, weight_, top_, n);
          else
            steps_.sub(out, weight_, n);
        }
      } else {
        std::memset(out, largest_ ? 0 : 255, n);
        for (int j = 0; j < h_; ++j)
          for (int i = 0; i < w_; ++i) {
            const Byte weight = weights_[static_cast<size_t>(j) * w_ + i];
            const Byte* from = window[j] - a_ + i;
            if (IsSets()) {
              if (weight != 0) Extreme(out, from, n);
            } else if (dilate_) {
              steps_.addMax(out, from, weight, n);
            } else {
              steps_.subMin(out, from, weight, n);
            }
          }
        // A gray dilation ends at the top level (a no-op at 8 bits).
        if (!IsSets() && dilate_ && top_ < 255) steps_.addCap(out, 0, top_, n);
      }
      WriteLevels(out, width, v_.bpp, into.Row(y));
    }
  }

 private:
  bool IsSets() const { return v_.bpp == 1; }
  void Extreme(Byte* a, const Byte* b, size_t n) const {
    if (largest_)
      steps_.max(a, b, n);
    else
      steps_.min(a, b, n);
  }

  ImageView v_;
  bool dilate_;
  int w_, h_, a_;
  const Steps& steps_;
  Byte top_ = 0;
  bool ok_ = false;
  bool largest_ = false;
  bool flat_ = false;
  bool constant_ = false;
  Byte fill_ = 0;
  Byte weight_ = 0;
  std::vector<Byte> weights_;  // paired with window points row by row (sets: 1 for members)
  std::unique_ptr<BorderedRows> rows_;
  std::vector<Byte> column_, out_;
};

// One dilation or erosion of `img` in place; false when memory is short (image untouched). An
// image whose block is not compact comes out compact, as assigning the working copy leaves it.
bool DilateOrErode(CLamina& img, bool dilate, const Byte* e, int w, int h, int ox, int oy) {
  const ImageView v = BlockAccess::View(img);
  Morpher m(v, dilate, e, w, h, ox, oy);
  if (!m.Ok()) return false;
  if (IsCompact(img)) {
    m.Run(v);
  } else {
    NewImage copy = CompactCopy(img);
    if (!copy.Ok()) return false;
    m.Run(copy.View());
    copy.InstallInto(img);
  }
  BlockAccess::NoteStride(img, BlockAccess::View(img));
  return true;
}

// ---- The seven operations ------------------------------------------------------------------

struct Element {
  const Byte* e;
  int w, h;
};

// Operation `op` on `img` with the origin (ox, oy), as its definition builds it. False when
// memory is short; `img` may then hold part of the work (callers give it a copy).
bool Operate(CLamina& img, int op, const Element& el, int ox, int oy) {
  // Composites use the origin mirrored through the element's centre.
  const int mx = el.w - 1 - ox, my = el.h - 1 - oy;
  switch (op) {
    case 0:
      return DilateOrErode(img, true, el.e, el.w, el.h, ox, oy);
    case 1:
      return DilateOrErode(img, false, el.e, el.w, el.h, ox, oy);
    case 2:  // opening: erosion, then dilation
      return Operate(img, 1, el, mx, my) && Operate(img, 0, el, mx, my);
    case 3:  // closing: dilation, then erosion
      return Operate(img, 0, el, mx, my) && Operate(img, 1, el, mx, my);
    case 4:  // opening, then closing
      return Operate(img, 2, el, mx, my) && Operate(img, 3, el, mx, my);
    default:
      break;
  }
  // Gradient (5): the dilation minus the erosion. Top-hat (6): the image minus its opening.
  CLamina minuend(img), subtrahend(img);
  if (!BlockAccess::HasBlock(minuend) || !BlockAccess::HasBlock(subtrahend)) return false;
  if (op == 5) {
    if (!Operate(minuend, 0, el, mx, my) || !Operate(subtrahend, 1, el, mx, my)) return false;
  } else if (!Operate(subtrahend, 2, el, mx, my)) {
    return false;
  }
  const ImageView a = BlockAccess::View(minuend), b = BlockAccess::View(subtrahend);
  if (a.bpp != 1) {
    if (combine::Arithmetic(minuend, 1, &subtrahend) != 0) return false;
  } else if (ColourCount(*a.header) == 2 && ColourCount(*b.header) == 2) {
    // Sets: object (0) where the first is object and the second background, else background.
    for (int y = 0; y < a.height; ++y)
      for (int x = 0; x < a.width; ++x)
        Px<1>::Set(a.Row(y), x,
                   (Px<1>::Get(a.Row(y), x) == 0 && Px<1>::Get(b.Row(y), x) == 1) ? 0 : 1);
  }
  // The image becomes the result: the same header and palette, the result's rows.
  if (!MakeCompact(img)) return false;
  const ImageView into = BlockAccess::View(img);
  std::memcpy(into.bits, a.bits, into.header->biSizeImage);
  BlockAccess::NoteStride(img, into);
  return true;
}

}  // namespace

int Morphological(CLamina& img, int operation, const unsigned char* element, int elementWidth,
                  int elementHeight, int originX, int originY) {
  if (static_cast<unsigned>(operation) > 6) return codes::morphology::kOperation;
  const ImageView v = BlockAccess::View(img);
  if (!InMask(kPaletteDepthMask, v.bpp)) return codes::morphology::kDepth;
  // A negative origin would move the window off the element's entries: refused with the others.
  if (originX < 0 || originY < 0 || originX >= elementWidth || originY >= elementHeight)
    return codes::morphology::kOrigin;
  if (element == nullptr) return codes::morphology::kNoElement;
  const Element el{element, elementWidth, elementHeight};
  // Dilation and erosion allocate before they write; the gradient and the top-hat work on copies
  // and write the image last.
  if (operation <= 1 || operation >= 5)
    return Operate(img, operation, el, originX, originY) ? 0 : codes::morphology::kNoMemory.value;
  // Opening and closing chain steps on the image itself: they work on a copy, which the image
  // becomes at the end.
  CLamina result(img);
  if (!BlockAccess::HasBlock(result) || !Operate(result, operation, el, originX, originY) ||
      !MakeCompact(img))
    return codes::morphology::kNoMemory;
  const ImageView into = BlockAccess::View(img);
  std::memcpy(into.bits, BlockAccess::View(result).bits, into.header->biSizeImage);
  BlockAccess::NoteStride(img, into);
  return 0;
}

}  // namespace neighbourhood
}  // namespace lamina

int CLamina::fnIMG_Morphological(int operation, unsigned char* element, int elementWidth,
                                 int elementHeight, int originX, int originY) {
  return lamina::neighbourhood::Morphological(*this, operation, element, elementWidth,
                                              elementHeight, originX, originY);
}
