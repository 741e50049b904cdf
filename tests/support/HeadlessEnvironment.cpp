#include "framework/qt/testing/TestDriver.h"

#include <gtest/gtest.h>

namespace {

// Every test of an executable that links this runs with the framework's
// runtime started headless and its dialogs scripted.
class HeadlessEnvironment : public ::testing::Environment {
public:
    void SetUp() override { fw::testing::StartHeadlessRuntime(); }
    // The toolkit must go before the process's static clean-up.
    void TearDown() override { fw::testing::StopHeadlessRuntime(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment);

}  // namespace
