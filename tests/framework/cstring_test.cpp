#include <gtest/gtest.h>

#include "platform/framework/framework.h"

TEST(CStringTest, Placeholder) {
    CString s("abc");
    EXPECT_EQ(s.GetLength(), 3);
}
