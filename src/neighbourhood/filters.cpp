// fnIMG_Filters: the 75 predefined filters. Linear filters run one kernel of the table through the
// convolution engine; gradient pairs run two kernels over the same windows and add the results as
// the plain addition does; compass filters run the eight 45-degree turns of a 3 x 3 kernel and
// keep the largest result; order and mean filters are in order.cpp.
#include "CLamina.h"
#include "core/block_access.h"
#include "core/pixel_access.h"
#include "neighbourhood/codes.h"
#include "neighbourhood/engine.h"
#include "neighbourhood/neighbourhood.h"
#include "neighbourhood/order.h"

namespace lamina {
namespace neighbourhood {
namespace {

// ---- Kernels, rows top first ------------------------------------------------------------------

const int K0[] = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
const int K1[] = {-1, 2, -1, -1, 2, -1, -1, 2, -1};
const int K2[] = {-1, -1, -1, 2, 2, 2, -1, -1, -1};
const int K3[] = {-1, -1, 2, -1, 2, -1, 2, -1, -1};
const int K4[] = {2, -1, -1, -1, 2, -1, -1, -1, 2};
const int K5[] = {0, -1, 0, -1, 5, -1, 0, -1, 0};
const int K6[] = {-1, -1, -1, -1, 9, -1, -1, -1, -1};
const int K7[] = {1, -2, 1, -2, 5, -2, 1, -2, 1};
const int K8[] = {-1, -2, -1, -2, 13, -2, -1, -2, -1};
const int K9[] = {-2, -2, -2, -2, 17, -2, -2, -2, -2};
const int K10[] = {-3, -3, -3, -3, 25, -3, -3, -3, -3};
const int K11[] = {-4, -4, -4, -4, 33, -4, -4, -4, -4};
const int K12[] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 26,
                   -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
const int K13[] = {-2, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, 49,
                   -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2, -2};
const int K14[] = {-1, -1, -1, -1, -1, -1, -2, -2, -2, -1, -1, -2, 33,
                   -2, -1, -1, -2, -2, -2, -1, -1, -1, -1, -1, -1};
const int K15[] = {-8, -5, -2, -5, -8, -5, 3,  9,  3,  -5, -2, 9, 33,
                   9,  -2, -5, 3,  9,  3,  -5, -8, -5, -2, -5, -8};
const int K16[] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
const int K17[] = {1, 1, 1, 1, 2, 1, 1, 1, 1};
const int K18[] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
const int K26[] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
const int K27[] = {6, 25, 6, 25, 100, 25, 6, 25, 6};
const int K28[] = {1, 1, 2, 1, 1, 1, 2, 4, 2, 1, 2, 4, 8, 4, 2, 1, 2, 4, 2, 1, 1, 1, 2, 1, 1};
const int K29[] = {2, 4, 5, 4, 2, 4, 9, 12, 9, 4, 5, 12, 15, 12, 5, 4, 9, 12, 9, 4, 2, 4, 5, 4, 2};
const int K30[] = {3,  6, 8, 6,  3,  6,  14, 19, 14, 6, 8, 19, 25,
                   19, 8, 6, 14, 19, 14, 6,  3,  6,  8, 6, 3};
const int K31[] = {1,  4, 7, 4,  1,  4,  16, 26, 16, 4, 7, 26, 41,
                   26, 7, 4, 16, 26, 16, 4,  1,  4,  7, 4, 1};
const int K32[] = {6,  18, 25, 18, 6,  18, 50, 71, 50, 18, 25, 71, 100,
                   71, 25, 18, 50, 71, 50, 18, 6,  18, 25, 18, 6};
const int K33[] = {1, 1, 2, 2,  2, 1, 1,  //
                   1, 2, 2, 4,  2, 2, 1,  //
                   2, 2, 4, 8,  4, 2, 2,  //
                   2, 4, 8, 16, 8, 4, 2,  //
                   2, 2, 4, 8,  4, 2, 2,  //
                   1, 2, 2, 4,  2, 2, 1,  //
                   1, 1, 2, 2,  2, 1, 1};
const int K34[] = {1, 1, 1, 1, 2, 1, 1, 1, 1};
const int K35[] = {1, 1, 1, 1, 5, 1, 1, 1, 1};
const int K36[] = {1, 1, 1, 1, 1, 1, 5, 5, 5, 1, 1, 5, 44, 5, 1, 1, 5, 5, 5, 1, 1, 1, 1, 1, 1};
const int K37[] = {1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1};
const int K41[] = {0, 1, -1, 0};
const int K42[] = {1, 0, 0, -1};
const int K44[] = {-1, 0, 1, -1, 0, 1, -1, 0, 1};
const int K45[] = {-1, -1, -1, 0, 0, 0, 1, 1, 1};
const int K46[] = {-1, -1, 0, -1, 0, 1, 0, 1, 1};
const int K47[] = {0, -1, -1, 1, 0, -1, 1, 1, 0};
const int K51[] = {-1, 0, 1, -2, 0, 2, -1, 0, 1};
const int K52[] = {-1, -2, -1, 0, 0, 0, 1, 2, 1};
const int K53[] = {-2, -1, 0, -1, 0, 1, 0, 1, 2};
const int K54[] = {0, -1, -2, 1, 0, -1, 2, 1, 0};
const int KK[] = {-3, -3, 5, -3, 0, 5, -3, -3, 5};
const int K58[] = {0, -1, 0, -1, 4, -1, 0, -1, 0};
const int K59[] = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
const int K60[] = {1, -2, 1, -2, 4, -2, 1, -2, 1};
const int K61[] = {-1, -2, -1, -2, 12, -2, -1, -2, -1};
const int K62[] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 24,
                   -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
const int K64[] = {0,  0,  -1, 0,  0,  0,  -1, -2, -1, 0,  -1, -2, 16,
                   -2, -1, 0,  -1, -2, -1, 0,  0,  0,  -1, 0,  0};

// The square kernels given by a rule rather than listed: all n x n coefficients `value`.
struct Filled {
  int k[81];
  Filled(int n, int value) {
    for (int i = 0; i < n * n; ++i) k[i] = value;
  }
};
// -1 everywhere except the central 3 x 3 block of 8.
struct CentreSurround {
  int k[81];
  CentreSurround() {
    for (int j = 0; j < 9; ++j)
      for (int i = 0; i < 9; ++i) k[j * 9 + i] = (j >= 3 && j <= 5 && i >= 3 && i <= 5) ? 8 : -1;
  }
};
// The 11 x 11 Laplacian of Gaussian from its rows 0 to 5; it is symmetric about its centre row
// and its centre column.
struct LaplacianOfGaussian11 {
  int k[121];
  LaplacianOfGaussian11() {
    static const int half[6][11] = {
        {0, 0, 0, -1, -1, -2, -1, -1, 0, 0, 0},
        {0, 0, -2, -4, -8, -9, -8, -4, -2, 0, 0},
        {0, -2, -7, -15, -22, -23, -22, -15, -7, -2, 0},
        {-1, -4, -15, -24, -14, -1, -14, -24, -15, -4, -1},
        {-1, -8, -22, -14, 52, 103, 52, -14, -22, -8, -1},
        {-2, -9, -23, -1, 103, 178, 103, -1, -23, -9, -2},
    };
    for (int j = 0; j < 11; ++j)
      for (int i = 0; i < 11; ++i) k[j * 11 + i] = half[j <= 5 ? j : 10 - j][i];
  }
};

const Filled kMean5(5, 1), kMean7(7, 1), kMean9(9, 1);
const CentreSurround kK63;
const LaplacianOfGaussian11 kK65;

enum class Kind { kNone, kConv, kPair, kCompass, kOrder };

struct Filter {
  Kind kind;
  int size;
  const int* a;  // the kernel, the pair's first (applied to the image) or the compass start
  const int* b;  // the pair's second (applied to the copy)
  int divisor;
};

Filter Conv(int size, const int* k, int divisor = 1) {
  return {Kind::kConv, size, k, nullptr, divisor};
}
Filter Pair(int size, const int* a, const int* b) { return {Kind::kPair, size, a, b, 1}; }
Filter Compass(const int* start) { return {Kind::kCompass, 3, start, nullptr, 1}; }
Filter Order() { return {Kind::kOrder, 0, nullptr, nullptr, 1}; }

// The filter of a number, or kNone for numbers not in the table.
Filter Lookup(int number) {
  switch (number) {
    case 0:
      return Conv(3, K0);
    case 1:
      return Conv(3, K1);
    case 2:
      return Conv(3, K2);
    case 3:
      return Conv(3, K3);
    case 4:
      return Conv(3, K4);
    case 5:
      return Conv(3, K5);
    case 6:
      return Conv(3, K6);
    case 7:
      return Conv(3, K7);
    case 8:
      return Conv(3, K8);
    case 9:
      return Conv(3, K9);
    case 10:
      return Conv(3, K10);
    case 11:
      return Conv(3, K11);
    case 12:
      return Conv(5, K12);
    case 13:
      return Conv(5, K13);
    case 14:
      return Conv(5, K14);
    case 15:
      return Conv(5, K15);
    case 16:
      return Conv(3, K16, 9);
    case 17:
      return Conv(3, K17, 9);
    case 18:
      return Conv(3, K18, 9);
    case 19:
      return Conv(5, kMean5.k, 25);
    case 20:
      return Conv(7, kMean7.k, 49);
    case 21:
      return Conv(9, kMean9.k, 81);
    case 26:
      return Conv(3, K26, 16);
    case 27:
      return Conv(3, K27, 224);
    case 28:
      return Conv(5, K28, 52);
    case 29:
      return Conv(5, K29, 115);  // below the coefficient sum 159, as tabled
    case 30:
      return Conv(5, K30, 249);
    case 31:
      return Conv(5, K31, 273);
    case 32:
      return Conv(5, K32, 852);
    case 33:
      return Conv(7, K33, 140);
    case 34:
      return Conv(3, K34, 10);
    case 35:
      return Conv(3, K35, 13);
    case 36:
      return Conv(5, K36, 100);
    case 37:
      return Conv(5, K37, 16);
    case 40:
      return Pair(2, K42, K41);
    case 41:
      return Conv(2, K41);
    case 42:
      return Conv(2, K42);
    case 43:
      return Pair(3, K45, K44);
    case 44:
      return Conv(3, K44);
    case 45:
      return Conv(3, K45);
    case 46:
      return Conv(3, K46);
    case 47:
      return Conv(3, K47);
    case 48:
      return Pair(3, K46, K47);
    case 49:
      return Compass(K45);
    case 50:
      return Pair(3, K52, K51);
    case 51:
      return Conv(3, K51);
    case 52:
      return Conv(3, K52);
    case 53:
      return Conv(3, K53);
    case 54:
      return Conv(3, K54);
    case 55:
      return Pair(3, K53, K54);
    case 56:
      return Compass(K52);
    case 57:
      return Compass(KK);
    case 58:
      return Conv(3, K58);
    case 59:
      return Conv(3, K59);
    case 60:
      return Conv(3, K60);
    case 61:
      return Conv(3, K61);
    case 62:
      return Conv(5, K62);
    case 63:
      return Conv(9, kK63.k);
    case 64:
      return Conv(5, K64);
    case 65:
      return Conv(11, kK65.k);
    case 22:
    case 23:
    case 24:
    case 25:
    case 66:
    case 67:
    case 68:
    case 70:
    case 71:
    case 72:
    case 73:
    case 74:
    case 75:
    case 76:
    case 77:
      return Order();
    default:
      return {Kind::kNone, 0, nullptr, nullptr, 1};
  }
}

// The eight turns of a 3 x 3 compass kernel, the start first: each turn moves every coefficient of
// the outer ring one place towards the top-left corner (45 degrees counter-clockwise), the centre
// staying.
struct CompassTurns {
  int k[8][9];
  explicit CompassTurns(const int* start) {
    static const int ring[8] = {0, 1, 2, 5, 8, 7, 6, 3};
    for (int i = 0; i < 9; ++i) k[0][i] = start[i];
    for (int turn = 1; turn < 8; ++turn) {
      k[turn][4] = k[turn - 1][4];
      for (int p = 0; p < 8; ++p) k[turn][ring[p]] = k[turn - 1][ring[(p + 1) % 8]];
    }
  }
};

}  // namespace

int Filters(CLamina& img, int filter, int mapping, int border) {
  namespace rc = codes::filters;
  using detail::Combine;
  const ImageView v = BlockAccess::View(img);
  if (!InMask(kLevelDepthMask, v.bpp)) return rc::kDepth;
  const Filter f = Lookup(filter);
  if (f.kind == Kind::kNone) return rc::kFilter;
  if (static_cast<unsigned>(mapping) > 2u) return rc::kMapping;
  if (static_cast<unsigned>(border) > 2u) return rc::kBorder;

  bool done = true;
  switch (f.kind) {
    case Kind::kConv: {
      const int* kernels[] = {f.a};
      done = detail::RunKernels(img, kernels, 1, f.size, f.divisor, mapping, border, Combine::kOne);
      break;
    }
    case Kind::kPair: {
      const int* kernels[] = {f.a, f.b};
      done =
          detail::RunKernels(img, kernels, 2, f.size, 1, mapping, border, Combine::kSaturatingSum);
      break;
    }
    case Kind::kCompass: {
      const CompassTurns turns(f.a);
      const int* kernels[8];
      for (int t = 0; t < 8; ++t) kernels[t] = turns.k[t];
      done = detail::RunKernels(img, kernels, 8, 3, 1, mapping, border, Combine::kMaximum);
      break;
    }
    case Kind::kOrder:
      done = detail::OrderFilter(img, filter);
      break;
    case Kind::kNone:
      break;
  }
  return done ? 0 : static_cast<int>(rc::kNoMemory);
}

}  // namespace neighbourhood
}  // namespace lamina

int CLamina::fnIMG_Filters(int filter, int mapping, int border) {
  return lamina::neighbourhood::Filters(*this, filter, mapping, border);
}
