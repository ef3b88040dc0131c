// Loads the controls module once for the whole test program, as the host
// does, and unloads it at the end.
#pragma once

#include <gtest/gtest.h>

#include "harness/module.h"

namespace qzh {

class ModuleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(Instance().Load()) << Instance().Error(); }
  void TearDown() override { Instance().Unload(); }
  static Module& Instance() {
    static Module module;
    return module;
  }
};

}  // namespace qzh
