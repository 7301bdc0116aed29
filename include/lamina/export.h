/// @file
///
/// Symbol visibility of the library: everything is hidden unless marked LAMINA_API.
#pragma once

#if defined(_WIN32)
#  if defined(LAMINA_BUILDING)
#    define LAMINA_API __declspec(dllexport)
#  else
#    define LAMINA_API __declspec(dllimport)
#  endif
#else
/// Marks what the shared library exports: the image class, the platform types of its interface
/// and their operators. Everything else in the library is hidden.
#  define LAMINA_API __attribute__((visibility("default")))
#endif
