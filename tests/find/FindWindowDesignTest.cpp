#include "tests/support/ApplicationTest.h"
#include "find/FindWindow.h"
#include "tests/support/PictureNames.h"
#include "tests/support/Transcription.h"
#include "find/FindWindowLayout.h"

#include <map>

namespace {

using Entries = std::vector<fw::RecordEntry>;

using FindWindowDesignTest = ApplicationTest;

// Against tests/data/find/find-window.txt.
TEST_F(FindWindowDesignTest, TheWindowAndItsTwelveControlsAreBuiltAsDesigned) {
    auto* window = FindWindow();
    std::map<std::string, std::string> pictures;
    std::vector<std::vector<std::string>> controls;
    for (const auto& row : TranscribedRows("find/find-window.txt")) {
        if (row.at(0) == "picture") pictures[row.at(1)] = row.at(2);
        if (row.at(0) == "control") controls.push_back(row);
        if (row.at(0) != "window") continue;
        EXPECT_EQ(window->ClassName(), row.at(1));
        const Entries expected = TranscribedEntries(row, 2);
        EXPECT_EQ(Decoded(FindWindowRecord(), expected), expected);
    }
    EXPECT_EQ(window->Backdrop(), PictureNamed(pictures.at("window"))());

    ASSERT_EQ(FindWindowControls().size(), 12u);
    ASSERT_EQ(controls.size(), 12u);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& row = controls[i];
        const auto& built = FindWindowControls()[i].start;
        SCOPED_TRACE(row[1]);
        EXPECT_EQ(std::pair(std::string(built.name), std::string(built.className)), std::pair(row[1], row[2]));
        const Entries expected = TranscribedEntries(row, 3);
        EXPECT_EQ(Decoded(ControlRecord(built), expected), expected);
        if (auto* canvas = window->Control<fw::Canvas>(row[1])) {
            EXPECT_EQ(canvas->Backdrop(), pictures.contains(row[1]) ? PictureNamed(pictures.at(row[1]))() : nullptr);
        }
    }
}

}  // namespace
