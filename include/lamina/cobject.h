/// @file
///
/// The root of the object records the interface derives from.
#pragma once

#include "lamina/export.h"

/// The root of the object records the interface derives from (the points of region growing,
/// CLamina::CPunto): it gives them a virtual destructor, so they can be deleted through a
/// CObject pointer.
class LAMINA_API CObject {
 public:
  /// Destroys the object.
  virtual ~CObject();
};
