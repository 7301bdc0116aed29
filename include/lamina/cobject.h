// The root of the object records the interface derives from (the points of region growing).
#pragma once

#include "lamina/export.h"

class LAMINA_API CObject {
 public:
  virtual ~CObject();
};
