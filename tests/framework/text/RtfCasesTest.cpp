// Small RTF files, one construct each, as Word, WordPad, TextEdit, Outlook
// and older office suites write it. Each file ends, after its last brace,
// with what it must read as: "= text" for each paragraph (\t a tab, \n a
// line break) and "~ part | font | size | flags" for the style of some text.
#include "framework/text/RtfReader.h"

#include "tests/support/StyledTextSupport.h"
#include "tests/support/Transcription.h"

#include <algorithm>
#include <regex>

namespace fw {
namespace {

const std::filesystem::path kCases = std::filesystem::path(PLUMORA_TEST_DATA) / "rtf" / "cases";

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kCases)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Unescape(std::string s) {
    for (const auto& [from, to] : {std::pair{"\\t", "\t"}, std::pair{"\\n", "\u2028"}})
        for (std::size_t at; (at = s.find(from)) != std::string::npos;) s.replace(at, 2, to);
    return s;
}

class RtfCase : public ::testing::TestWithParam<std::string> {};

TEST_P(RtfCase, ReadsAsItsFileSays) {
    const std::string bytes = FileBytes(kCases / GetParam());
    const StyledText doc = ReadRtf(bytes);
    std::vector<std::string> expected, styleLines;
    std::stringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("= ")) expected.push_back(Unescape(line.substr(2)));
        if (line.starts_with("~ ")) styleLines.push_back(line);
    }
    if (!expected.empty()) {
        EXPECT_EQ(TextsOf(doc), expected) << ::testing::PrintToString(doc);
    }
    for (const std::string& line : styleLines) {
        std::smatch f;
        ASSERT_TRUE(std::regex_match(line, f, std::regex(R"(~ (.+?) *\| *(.+?) *\| *([\d.]+) *\| *(\w*) *)"))) << line;
        bool found = false;
        for (const auto& paragraph : doc.paragraphs)
            for (const auto& run : paragraph.runs)
                if (run.text.find(f[1].str()) != std::string::npos) {
                    found = true;
                    EXPECT_EQ(run.style, Style(f[2], std::stod(f[3]), f[4].str(), run.style.color)) << line;
                }
        EXPECT_TRUE(found) << "no run holds \"" << f[1] << "\": " << ::testing::PrintToString(doc);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RtfCase, ::testing::ValuesIn(CaseNames()), [](const auto& info) {
    std::string name = info.param.substr(0, info.param.find('.'));
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

}  // namespace
}  // namespace fw
