#pragma once

#include "framework/Runtime.h"
#include "framework/testing/ScriptedDialogs.h"
#include "framework/testing/TestDriver.h"
#include "shell/MenuBar1.h"
#include "shell/Startup.h"

#include <gtest/gtest.h>

// A test with the application object and its menu bar installed and the
// dialogs scripted; every window is gone again afterwards.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialogs = &fw::testing::InstallScriptedDialogs();
        NewAppInstance();
    }
    void TearDown() override {
        fw::testing::ReleaseAllWindows();
        fw::RuntimeRegisterAppObject(nullptr);
        ReleaseMenuBar1();
    }

    fw::testing::ScriptedDialogs* dialogs = nullptr;
};
