#include "framework/testing/TestDriver.h"

#include <gtest/gtest.h>

namespace {

// Every test of an executable that links this runs with the framework's
// runtime started headless and its dialogs scripted.
class HeadlessEnvironment : public ::testing::Environment {
public:
    void SetUp() override { fw::testing::StartHeadlessRuntime(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment);

}  // namespace
