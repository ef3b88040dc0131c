#include <gtest/gtest.h>

#include "module_fixture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new qzh::ModuleEnvironment);
  return RUN_ALL_TESTS();
}
