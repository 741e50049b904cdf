#include "framework/PropertyRecord.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using fw::Color;
using fw::PropertyType;
using fw::RecordEntry;

using namespace std::string_literals;

// The key types a reader of these records knows; any other key is unknown.
const std::map<std::string, PropertyType, std::less<>> kTypes{
    {"Placement", PropertyType::Int32}, {"Width", PropertyType::Int32},   {"Index", PropertyType::Int32},
    {"Visible", PropertyType::Boolean}, {"Bold", PropertyType::Boolean},  {"BackColor", PropertyType::Color},
    {"TextColor", PropertyType::Color}, {"Title", PropertyType::String}, {"Text", PropertyType::String},
};

std::optional<PropertyType> TypeOf(std::string_view key) {
    const auto found = kTypes.find(key);
    if (found == kTypes.end()) return std::nullopt;
    return found->second;
}

std::vector<RecordEntry> Decode(std::string_view record) { return fw::DecodeRecord(record, TypeOf); }

// The message of the PropertyRecordException that decoding the record throws;
// fails the test when it throws nothing or something else.
std::string DecodeFailure(std::string_view record) {
    try {
        Decode(record);
    } catch (const fw::PropertyRecordException& error) {
        return error.what();
    } catch (const std::exception& error) {
        ADD_FAILURE() << "threw another exception: " << error.what();
        return {};
    }
    ADD_FAILURE() << "decoding did not throw";
    return {};
}

TEST(PropertyRecordRoundTrip, EveryTypeReadsBackWhatWasWritten) {
    const std::vector<RecordEntry> cases{
        {"Placement", std::int32_t{0}},
        {"Placement", std::int32_t{3}},
        {"Width", std::int32_t{-1}},
        {"Width", std::numeric_limits<std::int32_t>::max()},
        {"Index", std::numeric_limits<std::int32_t>::min()},
        {"Width", std::int32_t{0x01020304}},
        {"Visible", true},
        {"Visible", false},
        {"BackColor", Color::FromRGB(0x000000)},
        {"BackColor", Color::FromRGB(0xFFFFFF)},
        {"TextColor", Color::FromRGB(0x80FF01)},
        {"Title", ""s},
        {"Title", " Plumora"s},
        // Blanks, NULs and key-like text inside a string must not be taken for entry boundaries.
        {"Text", "Width \0\0\0\x05"s},
        {"Text", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"s},
        {"Text", std::string(70000, 'x')},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.key);
        const auto decoded = Decode(fw::EncodeRecord({entry}));
        ASSERT_EQ(decoded.size(), 1u);
        EXPECT_EQ(decoded[0], entry);
        EXPECT_EQ(fw::TypeOf(decoded[0].value), fw::TypeOf(entry.value));
    }
}

TEST(PropertyRecordRoundTrip, ManyEntriesKeepTheirOrderAndRepeats) {
    const std::vector<RecordEntry> entries{
        {"Title", "first"s},  {"Visible", true},     {"Placement", std::int32_t{3}},
        {"Title", "second"s}, {"BackColor", Color{1, 2, 3}}, {"Bold", false},
        {"Text", ""s},        {"Index", std::int32_t{-7}},
    };
    EXPECT_EQ(Decode(fw::EncodeRecord(entries)), entries);
}

TEST(PropertyRecordBytes, EachTypeHasItsExactWidth) {
    struct Case {
        RecordEntry entry;
        std::string bytes;
    };
    const std::vector<Case> cases{
        {{"Placement", std::int32_t{3}}, "Placement \x00\x00\x00\x03"s},
        {{"Index", std::numeric_limits<std::int32_t>::min()}, "Index \x80\x00\x00\x00"s},
        {{"Width", std::int32_t{-2}}, "Width \xFF\xFF\xFF\xFE"s},
        {{"Width", std::int32_t{672}}, "Width \x00\x00\x02\xA0"s},
        {{"Visible", true}, "Visible \x01"s},
        {{"Visible", false}, "Visible \x00"s},
        {{"BackColor", Color::FromRGB(0x565656)}, "BackColor \x56\x56\x56"s},
        {{"TextColor", Color{0x12, 0x34, 0x56}}, "TextColor \x12\x34\x56"s},
        {{"Title", " Plumora"s}, "Title \x00\x00\x00\x08 Plumora"s},
        {{"Text", ""s}, "Text \x00\x00\x00\x00"s},
        {{"Text", std::string(300, 'a')}, "Text \x00\x00\x01\x2C"s + std::string(300, 'a')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry.key);
        EXPECT_EQ(fw::EncodeRecord({c.entry}), c.bytes);
    }
}

TEST(PropertyRecordBytes, EntriesFollowOneAnotherWithNothingBetweenOrAfter) {
    const auto record = fw::EncodeRecord({{"Placement", std::int32_t{3}}, {"Visible", true}, {"Title", "T"s}});
    EXPECT_EQ(record, "Placement \x00\x00\x00\x03Visible \x01Title \x00\x00\x00\x01T"s);
    EXPECT_EQ(fw::EncodeRecord({}), "");
}

TEST(PropertyRecordDecode, EmptyRecordHoldsNothingAndAsksForNoType) {
    int asked = 0;
    const auto entries = fw::DecodeRecord("", [&asked](std::string_view) -> std::optional<PropertyType> {
        ++asked;
        return PropertyType::Int32;
    });
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(asked, 0);
}

TEST(PropertyRecordDecode, KeysAreAskedForAsWrittenInRecordOrder) {
    std::vector<std::string> asked;
    fw::DecodeRecord("Title \x00\x00\x00\x00visible \x01"s, [&asked](std::string_view key) -> std::optional<PropertyType> {
        asked.emplace_back(key);
        return key == "Title" ? PropertyType::String : PropertyType::Boolean;
    });
    EXPECT_EQ(asked, (std::vector<std::string>{"Title", "visible"}));
}

TEST(PropertyRecordDecodeFailure, UnknownKeyIsNamed) {
    const auto message = DecodeFailure("Placement \x00\x00\x00\x03" "Bogus \x01"s);
    EXPECT_NE(message.find("\"Bogus\""), std::string::npos) << message;
}

TEST(PropertyRecordDecodeFailure, RecordEndingInsideAnEntryNamesItsKey) {
    struct Case {
        const char* what;
        std::string record;
        std::string key;
    };
    const std::vector<Case> cases{
        {"inside a key", "Placement \x00\x00\x00\x03Wid"s, "Wid"},
        {"right after a key's blank", "Visible "s, "Visible"},
        {"inside an Int32", "Placement \x00\x00\x03"s, "Placement"},
        {"inside a Color", "BackColor \x56\x56"s, "BackColor"},
        {"inside a String's length", "Title \x00\x00"s, "Title"},
        {"inside a String's bytes", "Title \x00\x00\x00\x08 Plum"s, "Title"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto message = DecodeFailure(c.record);
        EXPECT_NE(message.find("\"" + c.key + "\""), std::string::npos) << message;
    }
}

TEST(PropertyRecordDecodeFailure, NegativeStringLengthIsNamedNotRead) {
    const auto message = DecodeFailure("Text \xFF\xFF\xFF\xFF" "abc"s);
    EXPECT_NE(message.find("\"Text\""), std::string::npos) << message;
}

TEST(PropertyRecordDecodeFailure, EntriesBeforeTheFaultDoNotHideIt) {
    // A good first entry must not let a broken second one pass unnoticed.
    const auto good = fw::EncodeRecord({{"Title", "ok"s}});
    EXPECT_NE(DecodeFailure(good + "Width \x00"s).find("\"Width\""), std::string::npos);
}

}  // namespace
