// fnIMG_BinarySmoothing: up to six fixed 3 x 3 rules that clean a 1-bit image (fill notches and
// holes, thin protrusions, fill the inner corner of an L in four orientations), each one pass over
// the whole image on the result of the one before, in the order of their flags. The outermost
// rows and columns never change. Returns 1 for an image that is not 1 bit deep.
//
// The rules are boolean functions of the neighbourhood, so they run 64 pixels at a time: a row is
// a line of 64-bit words with the leftmost pixel in the top bit, the neighbours to the left and
// right are a word shifted by one bit with the carry from the word beside it, and each rule is a
// few and/or/not operations per word.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/block_access.h"
#include "core/cpu.h"
#include "core/pixel_access.h"
#include "neighbourhood/codes.h"
#include "neighbourhood/neighbourhood.h"
#include "neighbourhood/working_copy.h"

namespace lamina {
namespace neighbourhood {
namespace {

using Word = std::uint64_t;
using std::size_t;

// The new pixels of 64 neighbourhoods (or 8 x 64 in a vector); p[0] .. p[8] as in the rules'
// numbering (p[4] the pixel, p[1] the one above, p[3] the one to the left). Operands are passed
// by reference, so vectors never cross a call.
template <int Rule, class W>
__attribute__((always_inline)) inline void Apply(const W (&p)[9], W& out) {
  if constexpr (Rule == 1) {  // a 0 with at least three of its four edge neighbours at 1
    out = p[4] | (p[1] & p[7] & (p[3] | p[5])) | (p[3] & p[5] & (p[1] | p[7]));
  } else if constexpr (Rule == 2) {  // a 1 without support on two opposite corners
    const W g1 = p[0] | p[1] | p[3], g2 = p[5] | p[7] | p[8];
    const W g3 = p[1] | p[2] | p[5], g4 = p[3] | p[6] | p[7];
    out = p[4] & ((g1 & g2) | (g3 & g4));
  } else if constexpr (Rule == 3) {  // L at left, bottom-left, bottom
    out = p[4] | (p[3] & p[6] & p[7] & ~(p[0] | p[1] | p[2] | p[5] | p[8]));
  } else if constexpr (Rule == 4) {  // L at right, bottom-right, bottom
    out = p[4] | (p[5] & p[7] & p[8] & ~(p[0] | p[1] | p[2] | p[3] | p[6]));
  } else if constexpr (Rule == 5) {  // L at left, top-left, top
    out = p[4] | (p[0] & p[1] & p[3] & ~(p[2] | p[5] | p[6] | p[7] | p[8]));
  } else {  // L at right, top-right, top
    out = p[4] | (p[1] & p[2] & p[5] & ~(p[0] | p[3] | p[6] | p[7] | p[8]));
  }
}

// The rule on every word of a row, from the rows above (a), at (c) and below (b) as they were.
// Each row has a word on either side (a[-1], a[words]) for the carries. The first and last
// columns keep their pixels: keepFirst and keepLast mark them in the first and the last word.
template <int Rule>
__attribute__((always_inline)) inline Word RuleWord(const Word* a, const Word* c, const Word* b,
                                                    size_t j) {
  const Word p[9] = {(a[j] >> 1) | (a[j - 1] << 63), a[j], (a[j] << 1) | (a[j + 1] >> 63),
                     (c[j] >> 1) | (c[j - 1] << 63), c[j], (c[j] << 1) | (c[j + 1] >> 63),
                     (b[j] >> 1) | (b[j - 1] << 63), b[j], (b[j] << 1) | (b[j + 1] >> 63)};
  Word out;
  Apply<Rule>(p, out);
  return out;
}

template <int Rule>
__attribute__((always_inline)) inline void RuleRow(const Word* a, const Word* c, const Word* b,
                                                   Word* out, size_t words, Word keepFirst,
                                                   Word keepLast) {
  const size_t last = words - 1;
  for (size_t j = 0; j < words; ++j) out[j] = RuleWord<Rule>(a, c, b, j);
  out[0] = (out[0] & ~keepFirst) | (c[0] & keepFirst);
  out[last] = (out[last] & ~keepLast) | (c[last] & keepLast);
}

template <int Rule>
void RuleRowPlain(const Word* a, const Word* c, const Word* b, Word* out, size_t words,
                  Word keepFirst, Word keepLast) {
  RuleRow<Rule>(a, c, b, out, words, keepFirst, keepLast);
}

#ifdef LAMINA_X86
// The same loop, which the compiler turns into four words per operation.
template <int Rule>
__attribute__((target("avx2"))) void RuleRowAvx2(const Word* a, const Word* c, const Word* b,
                                                 Word* out, size_t words, Word keepFirst,
                                                 Word keepLast) {
  RuleRow<Rule>(a, c, b, out, words, keepFirst, keepLast);
}
// Eight words per operation, three-input logic in one instruction, and the neighbours' shifts as
// funnel shifts: one instruction where two shifts and an or were.
template <int Rule>
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi2"))) void RuleRowVbmi2(
    const Word* a, const Word* c, const Word* b, Word* out, size_t words, Word keepFirst,
    Word keepLast) {
  size_t j = 0;
  for (; j + 8 <= words; j += 8) {
    const __m512i above = _mm512_loadu_si512(a + j), at = _mm512_loadu_si512(c + j),
                  below = _mm512_loadu_si512(b + j);
    const __m512i p[9] = {_mm512_shrdi_epi64(above, _mm512_loadu_si512(a + j - 1), 1),
                          above,
                          _mm512_shldi_epi64(above, _mm512_loadu_si512(a + j + 1), 1),
                          _mm512_shrdi_epi64(at, _mm512_loadu_si512(c + j - 1), 1),
                          at,
                          _mm512_shldi_epi64(at, _mm512_loadu_si512(c + j + 1), 1),
                          _mm512_shrdi_epi64(below, _mm512_loadu_si512(b + j - 1), 1),
                          below,
                          _mm512_shldi_epi64(below, _mm512_loadu_si512(b + j + 1), 1)};
    __m512i result;
    Apply<Rule>(p, result);
    _mm512_storeu_si512(out + j, result);
  }
  for (; j < words; ++j) out[j] = RuleWord<Rule>(a, c, b, j);
  const size_t last = words - 1;
  out[0] = (out[0] & ~keepFirst) | (c[0] & keepFirst);
  out[last] = (out[last] & ~keepLast) | (c[last] & keepLast);
}
#endif

using RowFunction = void (*)(const Word*, const Word*, const Word*, Word*, size_t, Word, Word);

template <int Rule>
RowFunction Pick() {
#ifdef LAMINA_X86
  static const bool funnelShifts = __builtin_cpu_supports("avx512vbmi2");
  if (funnelShifts && cpu::HaveAvx512()) return RuleRowVbmi2<Rule>;
  if (cpu::HaveAvx2()) return RuleRowAvx2<Rule>;
#endif
  return RuleRowPlain<Rule>;
}

RowFunction ForRule(int rule) {
  switch (rule) {
    case 1:
      return Pick<1>();
    case 2:
      return Pick<2>();
    case 3:
      return Pick<3>();
    case 4:
      return Pick<4>();
    case 5:
      return Pick<5>();
    default:
      return Pick<6>();
  }
}

// Rows as words and back. A row's last word holds the bits of its last partial byte's padding
// too; they are never a neighbour of an interior pixel.
__attribute__((always_inline)) inline void ReadRow(const std::uint8_t* bytes, int width, Word* out,
                                                   size_t words) {
  const size_t whole = static_cast<size_t>(width) / 64;
  for (size_t j = 0; j < whole; ++j) {
    Word w;
    std::memcpy(&w, bytes + 8 * j, 8);
    out[j] = __builtin_bswap64(w);
  }
  if (whole < words) {
    Word w = 0;
    const size_t last = (static_cast<size_t>(width) + 7) / 8;
    for (size_t k = 8 * whole; k < last; ++k) w |= Word{bytes[k]} << (56 - 8 * (k - 8 * whole));
    out[whole] = w;
  }
}

// Writes the pixels of a row back; the padding bits of a last partial byte keep their value.
__attribute__((always_inline)) inline void WriteRow(const Word* in, int width,
                                                    std::uint8_t* bytes) {
  const size_t whole = static_cast<size_t>(width) / 64;
  for (size_t j = 0; j < whole; ++j) {
    const Word w = __builtin_bswap64(in[j]);
    std::memcpy(bytes + 8 * j, &w, 8);
  }
  const size_t last = (static_cast<size_t>(width) + 7) / 8;
  for (size_t k = 8 * whole; k < last; ++k) {
    std::uint8_t b = static_cast<std::uint8_t>(in[whole] >> (56 - 8 * (k - 8 * whole)));
    if (k + 1 == last && width % 8 != 0) {
      const std::uint8_t pixels = static_cast<std::uint8_t>(0xFF00u >> (width % 8));
      b = static_cast<std::uint8_t>((b & pixels) | (bytes[k] & ~pixels));
    }
    bytes[k] = b;
  }
}

void ReadRowPlain(const std::uint8_t* bytes, int width, Word* out, size_t words) {
  ReadRow(bytes, width, out, words);
}
void WriteRowPlain(const Word* in, int width, std::uint8_t* bytes) { WriteRow(in, width, bytes); }
#ifdef LAMINA_X86
__attribute__((target("avx2"))) void ReadRowAvx2(const std::uint8_t* bytes, int width, Word* out,
                                                 size_t words) {
  ReadRow(bytes, width, out, words);
}
__attribute__((target("avx2"))) void WriteRowAvx2(const Word* in, int width, std::uint8_t* bytes) {
  WriteRow(in, width, bytes);
}
#endif

// All passes in one sweep down the image. Pass k turns out row y as soon as pass k - 1 has rows
// y - 1 .. y + 1, so each pass keeps only its last three rows (a few KiB that stay in the first
// cache level); the image's rows are read once and written once, each after the last pass has
// used it.
class Passes {
 public:
  Passes(const ImageView& v, const int* rules, int count, Word* ring)
      : v_(v), count_(count), words_((static_cast<size_t>(v.width) + 63) / 64), ring_(ring) {
    for (int k = 0; k < count; ++k) rule_[k] = ForRule(rules[k]);
    read_ = ReadRowPlain;
    write_ = WriteRowPlain;
#ifdef LAMINA_X86
    if (cpu::HaveAvx2()) {
      read_ = ReadRowAvx2;
      write_ = WriteRowAvx2;
    }
#endif
    // The words on either side of every row stay zero.
    std::memset(ring_, 0, RingWords(count, v.width) * sizeof(Word));
  }

  static size_t RingWords(int count, int width) {
    return static_cast<size_t>(count + 1) * 3 * ((static_cast<size_t>(width) + 63) / 64 + 2);
  }

  void Run() {
    const int h = v_.height, w = v_.width;
    const Word firstBit = Word{1} << 63, lastBit = Word{1} << (63 - (w - 1) % 64);
    for (int t = 0; t < h + count_; ++t) {
      if (t < h) read_(v_.Row(t), w, Row(0, t), words_);
      for (int k = 1; k <= count_; ++k) {
        const int y = t - k;
        if (y < 0 || y >= h) continue;
        Word* out = Row(k, y);
        const Word* c = Row(k - 1, y);
        if (y == 0 || y == h - 1) {
          std::memcpy(out, c, words_ * sizeof(Word));  // the first and last rows keep theirs
        } else {
          // So do the first and last columns.
          rule_[k - 1](Row(k - 1, y - 1), c, Row(k - 1, y + 1), out, words_, firstBit, lastBit);
          if (k == count_) write_(out, w, v_.Row(y));
        }
      }
    }
  }

 private:
  // Row y of pass k's output (pass 0: the image's rows as they were), with a zero word on either
  // side.
  Word* Row(int k, int y) const {
    const size_t slot = static_cast<size_t>(k) * 3 + static_cast<size_t>(y % 3);
    return ring_ + slot * (words_ + 2) + 1;
  }

  ImageView v_;
  int count_;
  size_t words_;
  Word* ring_;
  RowFunction rule_[6];
  void (*read_)(const std::uint8_t*, int, Word*, size_t);
  void (*write_)(const Word*, int, std::uint8_t*);
};

}  // namespace

int BinarySmoothing(CLamina& img, CLamina::CualesSuavizadoBinario rules) {
  ImageView v = BlockAccess::View(img);
  if (v.bpp != 1) return codes::binary_smoothing::kDepth;
  const int chosen[6] = {rules.bRegla1, rules.bRegla2, rules.bRegla3,
                         rules.bRegla4, rules.bRegla5, rules.bRegla6};
  bool any = false;
  for (int flag : chosen) any = any || flag != 0;
  if (!any) return 0;  // no pass: the image is not even copied
  int order[6];
  int count = 0;
  for (int r = 0; r < 6; ++r)
    if (chosen[r] != 0) order[count++] = r + 1;
  // Only interior pixels change, and an image narrower or lower than 3 has none.
  const bool interior = v.width >= 3 && v.height >= 3;
  Scratch ring(interior ? Passes::RingWords(count, v.width) * sizeof(Word) : 0);
  if (!ring.Ok() || !MakeCompact(img)) return codes::binary_smoothing::kNoMemory;
  v = BlockAccess::View(img);
  BlockAccess::NoteStride(img, v);
  if (interior) Passes(v, order, count, ring.As<Word>()).Run();
  return 0;
}

}  // namespace neighbourhood
}  // namespace lamina

int CLamina::fnIMG_BinarySmoothing(CLamina::CualesSuavizadoBinario rules) {
  return lamina::neighbourhood::BinarySmoothing(*this, rules);
}
