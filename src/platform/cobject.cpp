#include "lamina/cobject.h"

CObject::~CObject() = default;
