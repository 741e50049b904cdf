#pragma once

namespace fw {

// A screen of the display, by its index: 0 is the main screen. Each member
// reads the screen afresh. The available area is the part that windows may
// use, without the desktop's panels and docks; it is empty for an index that
// names no screen.
class Screen {
public:
    explicit Screen(int index) : index_(index) {}

    int AvailableLeft() const;
    int AvailableTop() const;
    int AvailableWidth() const;
    int AvailableHeight() const;

private:
    int index_;
};

}  // namespace fw
