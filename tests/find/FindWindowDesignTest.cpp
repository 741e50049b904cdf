#include "tests/support/ApplicationTest.h"
#include "find/FindWindow.h"
#include "find/FindWindowLayout.h"

#include "resources/Pictures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Values = std::map<std::string, fw::PropertyValue>;

// The window as the design file transcribes it.
struct Design {
    struct Control {
        std::string name, className, backdrop;
        Values values;
    };
    std::string className, backdrop;
    std::vector<fw::RecordEntry> window;
    std::map<std::string, std::vector<std::string>> keys;
    std::map<std::string, Values> shared;
    std::vector<Control> controls;
};

// The words of a line; a quoted string, blanks and all, stays in its word.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    bool quoted = false;
    for (const char c : line) {
        if (c == ' ' && !quoted) {
            if (!words.empty() && !words.back().empty()) words.emplace_back();
            continue;
        }
        if (words.empty()) words.emplace_back();
        if (c == '"') quoted = !quoted;
        words.back() += c;
    }
    if (!words.empty() && words.back().empty()) words.pop_back();
    return words;
}

fw::PropertyValue ValueOf(const std::string& text) {
    if (text.front() == '"') {
        std::string value = text.substr(1, text.size() - 2);
        for (std::size_t at; (at = value.find("\\r")) != std::string::npos;) value.replace(at, 2, "\r");
        return value;
    }
    if (text == "true" || text == "false") return text == "true";
    if (text.starts_with("&h")) return fw::Color::FromRGB(std::stoul(text.substr(2), nullptr, 16));
    return static_cast<std::int32_t>(std::stol(text));
}

// Reads key=value words from `first` on, in order.
std::vector<fw::RecordEntry> Entries(const std::vector<std::string>& words, std::size_t first) {
    std::vector<fw::RecordEntry> entries;
    for (auto i = first; i < words.size(); ++i) {
        const auto equals = words[i].find('=');
        entries.push_back({words[i].substr(0, equals), ValueOf(words[i].substr(equals + 1))});
    }
    return entries;
}

Design ReadDesign() {
    Design design;
    std::ifstream file(PLUMORA_TEST_DATA "/find/find-window.txt");
    for (std::string line; std::getline(file, line);) {
        const auto words = Words(line);
        if (words.empty() || words[0] == "#") continue;
        const auto& kind = words[0];
        if (kind == "class") design.className = words[1];
        else if (kind == "backdrop") design.backdrop = words[1];
        else if (kind == "window") design.window = Entries(words, 1);
        else if (kind == "keys") design.keys[words[1]].assign(words.begin() + 2, words.end());
        else if (kind == "shared")
            for (auto& [key, value] : Entries(words, 2)) design.shared[words[1]][key] = value;
        else if (kind == "control") {
            auto row = words;
            Design::Control control{row[1], row[2], {}, {}};
            if (row.back().starts_with("backdrop=")) {
                control.backdrop = row.back().substr(9);
                row.pop_back();
            }
            const char* place[] = {"TabPanelIndex", "TabIndex", "Left", "Top", "Width", "Height"};
            for (int i = 0; i < 6; ++i) control.values[place[i]] = ValueOf(row[3 + i]);
            control.values["Name"] = row[1];
            for (auto& [key, value] : Entries(row, 9)) control.values[key] = value;
            design.controls.push_back(control);
        }
    }
    return design;
}

std::vector<fw::RecordEntry> Decoded(const std::string& record, const std::vector<fw::RecordEntry>& expected) {
    return fw::DecodeRecord(record, [&](std::string_view key) -> std::optional<fw::PropertyType> {
        for (const auto& entry : expected)
            if (entry.key == key) return fw::TypeOf(entry.value);
        return std::nullopt;
    });
}

std::shared_ptr<fw::Picture> PictureNamed(const std::string& name) {
    const std::map<std::string, PictureAccessor> pictures{{"bannerplumora4", bannerplumora4},
                                                          {"buttonexit2", buttonexit2}};
    const auto found = pictures.find(name);
    return found == pictures.end() ? nullptr : found->second();
}

using FindWindowDesignTest = ApplicationTest;

TEST_F(FindWindowDesignTest, TheWindowAndItsTwelveControlsAreBuiltAsDesigned) {
    const auto design = ReadDesign();
    ASSERT_EQ(design.controls.size(), 12u);
    EXPECT_EQ(Decoded(FindWindowRecord(), design.window), design.window);

    auto* window = FindWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ClassName(), design.className);
    EXPECT_EQ(window->Backdrop(), PictureNamed(design.backdrop));
    ASSERT_EQ(FindWindowControls().size(), design.controls.size());
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const auto& wanted = design.controls[i];
        const auto& built = FindWindowControls()[i];
        SCOPED_TRACE(wanted.name);
        EXPECT_EQ(built.start.name, wanted.name);
        EXPECT_EQ(built.start.className, wanted.className);
        std::vector<fw::RecordEntry> expected;
        for (const auto& key : design.keys.at(wanted.className)) {
            const Values* sources[] = {&wanted.values, &design.shared.at(wanted.className), &design.shared.at("*")};
            const auto source = std::find_if(std::begin(sources), std::end(sources),
                                             [&](const Values* values) { return values->contains(key); });
            ASSERT_NE(source, std::end(sources)) << "the design gives no value for " << key;
            expected.push_back({key, (*source)->at(key)});
        }
        EXPECT_EQ(Decoded(ControlRecord(built.start), expected), expected);
        if (auto* canvas = window->Control<fw::Canvas>(wanted.name))
            EXPECT_EQ(canvas->Backdrop(), PictureNamed(wanted.backdrop));
    }
}

}  // namespace
