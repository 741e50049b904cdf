#include "ScriptedWindow.h"

#include "framework/qt/WindowFrame.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using widgettests::ScriptedWindow;

// Centred windows step down and to the right; one that would leave the work
// area starts the steps again at its top left.
TEST(WindowTest, CentredWindowsCascadeWithinTheWorkArea) {
    fw::testing::InstallScriptedDialogs();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    std::vector<QPoint> places;
    for (int i = 0; i < 3 * area.height() / 24; ++i) {
        auto* window = ScriptedWindow::Make({.layout = [&area](ScriptedWindow& w) {
            w.Width(area.width() / 2), w.Height(area.height() / 2), w.Placement(3), w.Visible(true);
        }});
        const QRect frame = window->Widgets().frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << "window " << i << " at " << frame.y() << " of " << area.height();
        places.push_back(frame.topLeft());
    }
    EXPECT_GT(places[1].x(), places[0].x());
    EXPECT_GT(places[1].y(), places[0].y());
    EXPECT_GE(std::count(places.begin(), places.end(), area.topLeft()), 2) << "the cascade started again";
    fw::testing::ReleaseAllWindows();
}

}  // namespace
