#include <gtest/gtest.h>
#include "CLamina.h"
TEST(Smoke, Default) { CLamina a; EXPECT_EQ(a.fnIMG_GetRows(), 16); }
