#pragma once

#include <gtest/gtest.h>

// Tollgate.exe runs in the tests' own prefix, so it sees the stores and registry a test prepares.
// Each test starts and ends with every cookie store empty, the browsers' too, and without the
// program's key, where the main window also keeps its placement.
class CProgramFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
