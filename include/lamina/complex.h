// A complex number as two doubles, the sample type of the Fourier transform.
#pragma once

struct _complex {
  double x;  // real part
  double y;  // imaginary part
};
static_assert(sizeof(_complex) == 16, "_complex is two doubles");
