// The debug output: lines only when asked for (--verbose or RX40_DEBUG=1),
// a box's line once whatever the setting, and none from a program that
// prints its errors itself.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/debug_output.h"

namespace {

TEST(DebugOutput, LinesOnlyWhenAskedForAndEachBoxOnce) {
  unsetenv("RX40_DEBUG");
  EXPECT_FALSE(DebugOutputWanted(false));
  EXPECT_TRUE(DebugOutputWanted(true));
  setenv("RX40_DEBUG", "1", 1);
  EXPECT_TRUE(DebugOutputWanted(false));
  setenv("RX40_DEBUG", "0", 1);
  EXPECT_FALSE(DebugOutputWanted(false));
  unsetenv("RX40_DEBUG");

  const bool debug = SetDebugOutputEnabled(false);
  testing::internal::CaptureStderr();
  OutputDebugString("Recording... 42%");
  OutputBoxLine("[message box] error: OnMotor11 false");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[message box] error: OnMotor11 false\n");

  SetDebugOutputEnabled(true);
  testing::internal::CaptureStderr();
  OutputBoxLine("box");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "box\n") << "once, not twice";

  SetDebugOutputEnabled(false);
  const bool boxes = SetBoxLinesEnabled(false);
  testing::internal::CaptureStderr();
  OutputBoxLine("box");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  SetBoxLinesEnabled(boxes);
  SetDebugOutputEnabled(debug);
}

}  // namespace
