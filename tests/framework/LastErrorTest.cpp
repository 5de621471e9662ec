#include <gtest/gtest.h>
#include "LxLibrary.h"

TEST(LastError, FreshProcessAnswersZeroAndSlotKeepsWhatWasStored) {
    EXPECT_EQ(LxGetLastError(), 0);
    LxSetLastError(-5);
    EXPECT_EQ(LxGetLastError(), -5);
    // The platform's own last error is a separate slot.
    SetLastError(7);
    EXPECT_EQ(LxGetLastError(), -5);
    EXPECT_EQ(GetLastError(), 7u);
}
