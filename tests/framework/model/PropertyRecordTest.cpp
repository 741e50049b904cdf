#include "framework/model/PropertyRecord.h"

#include "framework/model/Exceptions.h"
#include "framework/model/Object.h"
#include "tests/support/Transcription.h"

#include <limits>

// The case tables are laid out by hand, a row or a few to a line.
// clang-format off

namespace {

using fw::Color;
using fw::RecordEntry;

using namespace std::string_literals;

TEST(PropertyRecordBytes, EachTypeHasItsExactWidthAndReadsBack) {
    struct Case { RecordEntry entry; std::string bytes; };
    const std::vector<Case> cases{
        {{"Index", std::numeric_limits<std::int32_t>::min()}, "Index \x80\x00\x00\x00"s},
        {{"Width", std::int32_t{-2}}, "Width \xFF\xFF\xFF\xFE"s}, {{"Visible", true}, "Visible \x01"s},
        {{"TextColor", Color{0x12, 0x34, 0x56}}, "TextColor \x12\x34\x56"s},
        {{"Title", " Plumora"s}, "Title \x00\x00\x00\x08 Plumora"s},
        {{"Text", std::string(300, 'a')}, "Text \x00\x00\x01\x2C"s + std::string(300, 'a')},
        // Blanks, NULs and key-like text inside a string are no entry boundaries.
        {{"Text", "Width \0\0\0\x05"s}, "Text \x00\x00\x00\x0AWidth \0\0\0\x05"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.key);
        EXPECT_EQ(fw::EncodeRecord({c.entry}), c.bytes);
        EXPECT_EQ(Decoded(c.bytes, {c.entry}), std::vector<RecordEntry>{c.entry});
    }
}

// An object whose setters write down what they were given, in order.
class Probe : public fw::Object {
public:
    const fw::PropertyTable& Properties() const override {
        static const fw::PropertyTable table{fw::Prop("Count", &Probe::Count, &Probe::Count),
                                             fw::Prop("Flag", &Probe::Flag, &Probe::Flag)};
        return table;
    }
    int Count() const { return 0; }
    bool Flag() const { return false; }
    void Count(int value) { log.push_back("Count=" + std::to_string(value)); }
    void Flag(bool value) { log.push_back(value ? "Flag=1" : "Flag=0"); }
    std::vector<std::string> log;
};

// A record's entries apply in their order. The class, not the record, decides
// a value's width. A faulty record names the key at fault and leaves the
// object as it was, good entries included.
TEST(SetProperties, AppliesEntriesInOrderAndAFaultyRecordNotAtAll) {
    const auto good = fw::EncodeRecord({{"Count", std::int32_t{1}}, {"Flag", true}, {"Count", std::int32_t{-7}}});
    Probe applied;
    fw::SetProperties(applied, good);
    EXPECT_EQ(applied.log, (std::vector<std::string>{"Count=1", "Flag=1", "Count=-7"}));
    struct Case { const char* what; std::string record; std::string key; };
    const std::vector<Case> cases{
        {"unknown key", good + fw::EncodeRecord({{"Colour", std::int32_t{9}}}), "Colour"},
        {"inside a value", good.substr(0, good.size() - 1), "Count"}, {"inside a key", good + "Cou", "Cou"},
        {"after a key's blank", good + "Flag ", "Flag"},
        {"Boolean for an integer", fw::EncodeRecord({{"Count", true}}), "Count"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Probe probe;
        try {
            fw::SetProperties(probe, c.record);
            ADD_FAILURE() << "no exception";
        } catch (const fw::PropertyRecordException& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + c.key + "\""), std::string::npos) << error.what();
        }
        EXPECT_TRUE(probe.log.empty()) << "part of a faulty record was applied";
    }
}

}  // namespace
// clang-format on
