#include "ScriptedWindow.h"

#include "framework/EditField.h"
#include "framework/Exceptions.h"
#include "framework/Object.h"
#include "framework/PropertyRecord.h"
#include "framework/testing/TestDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using widgettests::ScriptedWindow;

// An object whose setters write down what they were given, in order.
class Probe : public fw::Object {
public:
    const fw::PropertyTable& Properties() const override {
        static const fw::PropertyTable table{
            fw::Prop("Count", &Probe::Count, &Probe::Count),
            fw::Prop("Label", &Probe::Label, &Probe::Label),
            fw::Prop("Flag", &Probe::Flag, &Probe::Flag),
            fw::Prop("Tint", &Probe::Tint, &Probe::Tint),
            fw::StoredProp("MacProcId", std::int32_t{0}),
        };
        return table;
    }

    int Count() const { return count_; }
    void Count(int value) { count_ = value; log.push_back("Count=" + std::to_string(value)); }
    std::string Label() const { return label_; }
    void Label(const std::string& value) { label_ = value; log.push_back("Label=" + value); }
    bool Flag() const { return flag_; }
    void Flag(bool value) { flag_ = value; log.push_back(value ? "Flag=1" : "Flag=0"); }
    fw::Color Tint() const { return tint_; }
    void Tint(fw::Color value) { tint_ = value; log.push_back("Tint=" + std::to_string(value.ToRGB())); }

    std::vector<std::string> log;

private:
    int count_ = 0;
    std::string label_;
    bool flag_ = false;
    fw::Color tint_;
};

std::string Record(const std::vector<fw::RecordEntry>& entries) { return fw::EncodeRecord(entries); }

// The message of the PropertyRecordException that applying the record throws.
std::string FailureOf(fw::Object& target, const std::string& record) {
    try {
        fw::SetProperties(target, record);
    } catch (const fw::PropertyRecordException& error) {
        return error.what();
    }
    return "(no exception)";
}

class SetPropertiesTest : public ::testing::Test {
protected:
    void TearDown() override { fw::testing::ReleaseAllWindows(); }
};

// ---- Order and keys --------------------------------------------------------

TEST_F(SetPropertiesTest, AppliesEntriesInRecordOrder) {
    Probe probe;
    fw::SetProperties(probe, Record({{"Count", std::int32_t{1}},
                                     {"Label", std::string("first")},
                                     {"Flag", true},
                                     {"Tint", fw::Color::FromRGB(0x102030)},
                                     {"Count", std::int32_t{-7}}}));
    EXPECT_EQ(probe.log, (std::vector<std::string>{"Count=1", "Label=first", "Flag=1", "Tint=1056816", "Count=-7"}));
    EXPECT_EQ(probe.Count(), -7);
    EXPECT_EQ(probe.Tint(), fw::Color::FromRGB(0x102030));
}

TEST_F(SetPropertiesTest, OrderOfAWindowsEntriesDecidesTheResult) {
    // A minimum set before the width limits it; one set after does not
    // change the width already given.
    ScriptedWindow limitedFirst;
    fw::SetProperties(limitedFirst, Record({{"MinWidth", std::int32_t{400}}, {"Width", std::int32_t{300}}}));
    EXPECT_EQ(limitedFirst.Width(), 400);

    ScriptedWindow widthFirst;
    fw::SetProperties(widthFirst, Record({{"Width", std::int32_t{300}}, {"MinWidth", std::int32_t{400}}}));
    EXPECT_EQ(widthFirst.Width(), 300);
    EXPECT_EQ(widthFirst.MinWidth(), 400);
}

TEST_F(SetPropertiesTest, KeysMatchWhateverTheCaseOfTheirLetters) {
    ScriptedWindow window;
    auto field = window.New("EditField");
    fw::SetProperties(*field, Record({{"MultiLine", true},
                                      {"SCROLLBARVERTICAL", false},
                                      {"scrollbarhorizontal", true},
                                      {"tExT", std::string("hello")}}));
    auto& edit = dynamic_cast<fw::EditField&>(*field);
    EXPECT_TRUE(edit.Multiline());
    EXPECT_FALSE(edit.ScrollbarVertical());
    EXPECT_TRUE(edit.ScrollbarHorizontal());
    EXPECT_EQ(edit.Text(), "hello");

    // The window's records spell the Mac process id "MacProcID".
    fw::SetProperties(window, Record({{"MacProcID", std::int32_t{1234}}, {"title", std::string("Doc")}}));
    EXPECT_EQ(std::get<std::int32_t>(window.Property("macprocid")), 1234);
    EXPECT_EQ(window.Title(), "Doc");
}

TEST_F(SetPropertiesTest, StoredPropertiesKeepTheirValuePerObject) {
    Probe first, second;
    fw::SetProperties(first, Record({{"MacProcId", std::int32_t{42}}}));
    EXPECT_EQ(std::get<std::int32_t>(first.Property("MacProcId")), 42);
    EXPECT_EQ(std::get<std::int32_t>(second.Property("MacProcId")), 0);
}

// ---- Faulty records --------------------------------------------------------

TEST_F(SetPropertiesTest, UnknownKeyThrowsNamingTheKeyAndAppliesNothing) {
    Probe probe;
    const auto message = FailureOf(probe, Record({{"Count", std::int32_t{5}}, {"Colour", std::int32_t{9}}}));
    EXPECT_NE(message.find("Colour"), std::string::npos) << message;
    EXPECT_EQ(probe.Count(), 0) << "part of a faulty record was applied";
    EXPECT_TRUE(probe.log.empty());

    ScriptedWindow window;
    auto field = window.New("EditField");
    const auto fieldMessage = FailureOf(*field, Record({{"Caption", std::string("OK")}}));
    EXPECT_NE(fieldMessage.find("Caption"), std::string::npos) << fieldMessage;
}

TEST_F(SetPropertiesTest, RecordEndingInsideAValueThrowsNamingTheKey) {
    Probe probe;
    auto record = Record({{"Flag", true}, {"Count", std::int32_t{7}}});
    record.pop_back();
    const auto message = FailureOf(probe, record);
    EXPECT_NE(message.find("Count"), std::string::npos) << message;
    EXPECT_FALSE(probe.Flag());

    EXPECT_NE(FailureOf(probe, "Tint \x01\x02").find("Tint"), std::string::npos);
    EXPECT_NE(FailureOf(probe, "Flag ").find("Flag"), std::string::npos);
}

TEST_F(SetPropertiesTest, RecordEndingInsideAKeyThrows) {
    Probe probe;
    const auto message = FailureOf(probe, Record({{"Flag", true}}) + "Cou");
    EXPECT_NE(message.find("Cou"), std::string::npos) << message;
}

TEST_F(SetPropertiesTest, StringWhoseLengthRunsPastTheEndThrows) {
    Probe probe;
    auto record = Record({{"Label", std::string("abc")}});
    // The length field follows "Label "; make it claim ten bytes.
    record[6 + 3] = '\x0A';
    const auto message = FailureOf(probe, record);
    EXPECT_NE(message.find("Label"), std::string::npos) << message;
    EXPECT_EQ(probe.Label(), "");

    auto negative = Record({{"Label", std::string("abc")}});
    negative[6] = '\xFF';
    EXPECT_NE(FailureOf(probe, negative).find("Label"), std::string::npos);
}

TEST_F(SetPropertiesTest, TheClassNotTheRecordDecidesAValuesWidth) {
    // A Boolean written for an integer key leaves too few bytes for the
    // integer the class expects.
    Probe probe;
    const auto message = FailureOf(probe, Record({{"Count", true}}));
    EXPECT_NE(message.find("Count"), std::string::npos) << message;

    // Read as the class's types, the bytes decode back to what was written.
    fw::SetProperties(probe, Record({{"Flag", true}, {"Label", std::string("x y")}, {"Count", std::int32_t{65536}}}));
    EXPECT_EQ(probe.Label(), "x y");
    EXPECT_EQ(probe.Count(), 65536);
}

TEST_F(SetPropertiesTest, EmptyRecordChangesNothing) {
    Probe probe;
    EXPECT_NO_THROW(fw::SetProperties(probe, ""));
    EXPECT_TRUE(probe.log.empty());
}

TEST_F(SetPropertiesTest, PropertyAccessRejectsUnknownKeysAndWrongTypes) {
    Probe probe;
    EXPECT_THROW(probe.Property("Nope"), fw::PropertyRecordException);
    EXPECT_THROW(probe.Property("Nope", fw::PropertyValue{std::int32_t{1}}), fw::PropertyRecordException);
    EXPECT_THROW(probe.Property("Count", fw::PropertyValue{std::string("1")}), fw::PropertyRecordException);
    EXPECT_EQ(probe.Count(), 0);
    probe.Property("COUNT", fw::PropertyValue{std::int32_t{3}});
    EXPECT_EQ(std::get<std::int32_t>(probe.Property("count")), 3);
}

}  // namespace
