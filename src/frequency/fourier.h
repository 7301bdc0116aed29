// The frequency family's operations as plain functions (the public members forward here).
#pragma once

#include "CLamina.h"

namespace lamina {
namespace frequency {

// fnIMG_FFT: returns the member's code.
int FFT(CLamina& img, int mode);

// How the transform is cut into pieces that stay in cache: the first `blockBits` stages run on
// whole blocks, the later ones at most `groupBits` at a time on panels. The results do not depend
// on it; the tests shrink it to take every path on small arrays.
struct Blocking {
  int blockBits = 12;
  int groupBits = 12;
};
inline Blocking g_blocking;

// fnIMG_Fourier: the forward transform of data[0 .. 2^m - 1] in place, unscaled. Does nothing for
// a null array or an m outside 0 .. 30.
void Fourier(_complex* data, int m);

}  // namespace frequency
}  // namespace lamina
