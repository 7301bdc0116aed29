/// @file
///
/// A complex number as two doubles, the sample type of the Fourier transform.
#pragma once

/// A complex number as two doubles (16 bytes, real part first), the sample type of the Fourier
/// transform.
struct _complex {
  double x;  ///< real part
  double y;  ///< imaginary part
};
static_assert(sizeof(_complex) == 16, "_complex is two doubles");
