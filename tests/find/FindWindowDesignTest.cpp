#include "tests/support/ApplicationTest.h"
#include "find/FindWindow.h"
#include "tests/support/PictureNames.h"
#include "tests/support/Transcription.h"
#include "find/FindWindowLayout.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <map>
#include <sstream>

namespace {

using Entries = std::vector<fw::RecordEntry>;

// The window as tests/data/find/find-window.txt transcribes it.
struct Design {
    std::string className;
    Entries window;
    std::vector<std::pair<std::string, std::string>> order;  // name and class of each control
    std::map<std::string, Entries> controls;
    std::map<std::string, std::string> pictures;
};

Entries ReadEntries(std::istream& in) {
    Entries entries;
    for (std::string key, word; in >> key >> std::ws;) {
        const bool text = in.peek() == '"';
        in >> std::quoted(word, '"', '\0');
        entries.push_back({key, text ? fw::PropertyValue(TranscribedText(word)) : TranscribedValue(word)});
    }
    return entries;
}

Design ReadDesign() {
    Design design;
    std::ifstream file(PLUMORA_TEST_DATA "/find/find-window.txt");
    for (std::string line; std::getline(file, line);) {
        std::istringstream in(line);
        std::string kind, name, className;
        in >> kind >> name;
        if (kind == "window") design.className = name, design.window = ReadEntries(in);
        else if (kind == "picture") in >> design.pictures[name];
        else if (kind == "control" && in >> className)
            design.order.emplace_back(name, className), design.controls[name] = ReadEntries(in);
    }
    return design;
}

// The record read with the value types that the expected entries have.
Entries Decoded(const std::string& record, const Entries& expected) {
    return fw::DecodeRecord(record, [&](std::string_view key) -> std::optional<fw::PropertyType> {
        for (const auto& entry : expected)
            if (entry.key == key) return fw::TypeOf(entry.value);
        return std::nullopt;
    });
}

using FindWindowDesignTest = ApplicationTest;

TEST_F(FindWindowDesignTest, TheWindowAndItsTwelveControlsAreBuiltAsDesigned) {
    const auto design = ReadDesign();
    EXPECT_EQ(Decoded(FindWindowRecord(), design.window), design.window);
    auto* window = FindWindow();
    EXPECT_EQ(window->ClassName(), design.className);
    EXPECT_EQ(window->Backdrop(), PictureNamed(design.pictures.at("window"))());

    ASSERT_EQ(FindWindowControls().size(), 12u);
    ASSERT_EQ(design.order.size(), 12u);
    for (std::size_t i = 0; i < design.order.size(); ++i) {
        const auto& [name, className] = design.order[i];
        const auto& built = FindWindowControls()[i].start;
        SCOPED_TRACE(name);
        EXPECT_EQ(std::pair(std::string(built.name), std::string(built.className)), design.order[i]);
        const auto& expected = design.controls.at(name);
        EXPECT_EQ(Decoded(ControlRecord(built), expected), expected);
        if (auto* canvas = window->Control<fw::Canvas>(name))
            EXPECT_EQ(canvas->Backdrop(),
                      design.pictures.contains(name) ? PictureNamed(design.pictures.at(name))() : nullptr);
    }
}

}  // namespace
