// A test fixture that hands every test the real platform table and restores it afterwards,
// whatever the test swapped.
#pragma once

#include <gtest/gtest.h>

#include "common/platform.h"

class PlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetPlatformCalls();
    }
    void TearDown() override {
        ResetPlatformCalls();
    }
};
