#include "framework/ui/PrinterSetup.h"

#include <gtest/gtest.h>

#include <string>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace {

// That settings come back from their string, paper, orientation and margins
// alike, the printing tests show through a window's Page Setup. What a string
// cannot give stays at the defaults; nothing fails.
TEST(PrinterSetupTest, WhatCannotBeReadFallsBack) {
    const std::string v1 = "plumora-page-setup 1\n";
    const struct { std::string text; double width, height; bool landscape; } cases[] = {  // width 0: the default paper
        {"", 0, 0, false}, {"garbage\npaper=100,100\n", 0, 0, false}, {v1.substr(0, 12), 0, 0, false},
        {v1 + "paper=-5,abc\norientation=sideways\nmargins=1,2\n", 0, 0, false},
        {v1 + "paper=1e9,200\n", 0, 0, false},
        {v1 + "paper=200,300\nmargins=150,0,150,0\n", 200, 300, false},
        {v1 + "printer=NoSuchPrinter\norientation=landscape\n", 0, 0, true},
        {"plumora-page-setup 7\npaper=200,300\nstaple=left\n", 200, 300, false},
    };
    for (const auto& c : cases) {
        fw::PrinterSetup expected, setup;
        if (c.width > 0) expected.PaperWidth = c.width, expected.PaperHeight = c.height;
        expected.Landscape = c.landscape;
        setup.Margin = {1, 1, 1, 1}, setup.Landscape = !c.landscape;
        setup.SetupString(c.text);
        EXPECT_EQ(setup.SetupString(), expected.SetupString()) << c.text;
    }
}

}  // namespace
// clang-format on
