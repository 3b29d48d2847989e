// Test support: puts every program-wide variable back to its start value,
// including those outside ReSettings (shape flags, Group, Gmessage, the
// template values, the current default textures and the capacities).
#pragma once

#include <gtest/gtest.h>

void ResetAllGlobals();

// A fixture whose tests start from the program's start state.
class GlobalStateTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetAllGlobals(); }
  void TearDown() override { ResetAllGlobals(); }
};

// A fixture whose tests start from the state after the driver's first reset.
class ResetSettingsTest : public GlobalStateTest {
 protected:
  void SetUp() override;
};
