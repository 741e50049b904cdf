#include "framework/ui/PrinterSetup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Settings {
    double width, height;
    bool landscape;
    fw::PrinterSetup::Margins margin;
    int printableWidth, printableHeight;
};

fw::PrinterSetup Made(const Settings& s) {
    fw::PrinterSetup setup;
    setup.PaperWidth = s.width, setup.PaperHeight = s.height, setup.Landscape = s.landscape, setup.Margin = s.margin;
    return setup;
}

void ExpectSettings(const fw::PrinterSetup& setup, const Settings& s) {
    EXPECT_EQ(setup.Printer, "");
    EXPECT_DOUBLE_EQ(setup.PaperWidth, s.width);
    EXPECT_DOUBLE_EQ(setup.PaperHeight, s.height);
    EXPECT_EQ(setup.Landscape, s.landscape);
    EXPECT_EQ(setup.Margin, s.margin);
    EXPECT_EQ(setup.Width(), s.printableWidth);
    EXPECT_EQ(setup.Height(), s.printableHeight);
}

TEST(PrinterSetupTest, SettingsComeBackFromTheirString) {
    const Settings cases[] = {
        {612, 792, false, {0, 0, 0, 0}, 612, 792},                          // Letter
        {595.2755905511812, 841.8897637795276, false, {36, 36, 36, 36}, 523, 770},  // A4
        {612, 792, true, {72, 18, 36, 9}, 684, 585},                        // Letter across
        {300.5, 400.25, false, {1.5, 2.25, 3, 4}, 296, 394},                // custom paper and margins
    };
    for (const auto& c : cases) {
        fw::PrinterSetup restored;
        restored.SetupString(Made(c).SetupString());
        ExpectSettings(restored, c);
    }
}

// What a string cannot give stays at the defaults; nothing fails.
TEST(PrinterSetupTest, WhatCannotBeReadFallsBack) {
    const fw::PrinterSetup defaults;
    const Settings fallback{defaults.PaperWidth, defaults.PaperHeight, false, defaults.Margin,
                            defaults.Width(), defaults.Height()};
    const std::string header = "plumora-page-setup 1\n";
    const struct {
        std::string text;
        Settings expected;
    } cases[] = {
        {"", fallback},
        {"garbage\npaper=100,100\n", fallback},
        {header + "paper=-5,abc\norientation=sideways\nmargins=1,2\nprinter=\n", fallback},
        {header + "paper=1e9,200\n", fallback},
        {header + "paper=200,300\nmargins=150,0,150,0\n", {200, 300, false, defaults.Margin, 0, 0}},
        {header + "printer=NoSuchPrinter\norientation=landscape\n", {defaults.PaperWidth, defaults.PaperHeight, true,
                                                                     defaults.Margin, 0, 0}},
        {"plumora-page-setup 7\npaper=200,300\nmargins=0,0,0,0\nstaple=left\n", {200, 300, false, {}, 200, 300}},
        {header.substr(0, 12), fallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        fw::PrinterSetup setup;
        setup.Landscape = true;
        setup.SetupString(c.text);
        auto expected = c.expected;
        if (expected.printableWidth == 0) {
            const auto made = Made(expected);
            expected.printableWidth = made.Width(), expected.printableHeight = made.Height();
        }
        ExpectSettings(setup, expected);
    }
}

}  // namespace
