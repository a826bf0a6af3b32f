// Runs a suite only on the platform it is meant for (test_platform.h).
#include <gtest/gtest.h>

#include "test_platform.h"

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!IsTestPlatform()) return 1;
  return RUN_ALL_TESTS();
}
