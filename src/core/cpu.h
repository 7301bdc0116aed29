// What the processor offers beyond the baseline, asked once at run time, so that one build runs on
// every x86-64 machine and still uses the wider instructions where they exist. Vector code is
// written with intrinsics in functions marked __attribute__((target(...))), always beside a plain
// loop that gives the same bytes; the tests lower `g_widest` to run the plain loops on the same
// machine and compare.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && defined(__SSE2__)
#define LAMINA_X86 1
#include <immintrin.h>
#endif

namespace lamina {
namespace cpu {

// The widest instructions the library may use: 3 AVX-512 (F, BW, VL), 2 AVX2, 1 SSE2 and SSSE3,
// 0 none (the plain loops).
inline int g_widest = 3;

// SSE2 is part of every x86-64 processor; it is asked all the same, so that the tests can turn it
// off and compare its paths with the plain loops.
inline bool HaveSse2() {
#ifdef LAMINA_X86
  return g_widest >= 1;
#else
  return false;
#endif
}

inline bool HaveSsse3() {
#ifdef LAMINA_X86
  static const bool have = __builtin_cpu_supports("ssse3");
  return have && g_widest >= 1;
#else
  return false;
#endif
}

inline bool HaveAvx2() {
#ifdef LAMINA_X86
  static const bool have = __builtin_cpu_supports("avx2");
  return have && g_widest >= 2;
#else
  return false;
#endif
}

inline bool HaveAvx512() {
#ifdef LAMINA_X86
  static const bool have = __builtin_cpu_supports("avx512f") &&
                           __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
  return have && g_widest >= 3;
#else
  return false;
#endif
}

}  // namespace cpu
}  // namespace lamina
