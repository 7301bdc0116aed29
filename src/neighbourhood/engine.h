// The convolution engine shared by fnIMG_Convolution and the filters: one or several kernels of
// one size run over the same windows of working values, each result mapped, then combined.
#pragma once

#include "CLamina.h"

namespace lamina {
namespace neighbourhood {
namespace detail {

enum class Combine {
  kOne,            // one kernel: its values
  kSaturatingSum,  // a gradient pair: the two results added as plain arithmetic adds them
  kMaximum,        // a compass: the largest of the results, into the image as it was
};

// Runs `count` kernels over the image with the given divisor, mapping and border. The working
// value is the index (4, 8 bits) or the red byte (24, 32 bits). False when memory is short, with
// the image unchanged. The arguments have been checked.
bool RunKernels(CLamina& img, const int* const* kernels, int count, int size, int divisor,
                int mapping, int border, Combine how);

}  // namespace detail
}  // namespace neighbourhood
}  // namespace lamina
