// Symbol visibility of the library: everything is hidden unless marked LAMINA_API.
#pragma once

#if defined(_WIN32)
#  if defined(LAMINA_BUILDING)
#    define LAMINA_API __declspec(dllexport)
#  else
#    define LAMINA_API __declspec(dllimport)
#  endif
#else
#  define LAMINA_API __attribute__((visibility("default")))
#endif
