#include "Plumora.h"

#include "framework/model/RealToInteger.h"
#include "framework/ui/Screen.h"

// Leaving full screen always brings the menu bar back and lets the window be
// resized again, whatever they were before.
bool Plumora::BevelButton2_MouseDown(int, int) {
    const bool leaving = FullScreen();
    FullScreen(!leaving);
    MenuBarVisible(leaving);
    Resizeable(leaving);
    return false;
}

// Centred on the main screen's available area, keeping its size even when it
// is larger than that area.
bool Plumora::Canvas4_MouseDown(int, int) {
    double a = fw::Screen(0).AvailableLeft();
    double d = fw::Screen(0).AvailableWidth() - Width();
    Left(fw::RealToInt32(a + d / 2.0));
    a = fw::Screen(0).AvailableTop();
    d = fw::Screen(0).AvailableHeight() - Height();
    Top(fw::RealToInt32(a + d / 2.0));
    return false;
}

bool Plumora::Canvas2_MouseDown(int, int) {
    Maximize();
    return false;
}

bool Plumora::Canvas3_MouseDown(int, int) {
    Minimize();
    return false;
}

bool Plumora::ViewMaximize_Action() {
    Maximize();
    return true;
}

bool Plumora::ViewMinimize_Action() {
    Minimize();
    return true;
}
