// A fixture for tests that change the state the module keeps for the whole
// process: each test starts and ends with the item defaults of a freshly
// loaded module and no allocation set to fail.
#pragma once

#include <gtest/gtest.h>

#include "items/item_settings.h"
#include "platform/allocation.h"

namespace pelo::test {

class FreshStateTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

 private:
  static void Reset() {
    CItemSettings::ResetDefaults();
    FailAllocationAt(0);
  }
};

}  // namespace pelo::test
