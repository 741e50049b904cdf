#include "ScriptedWindow.h"

#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/model/Object.h"
#include "framework/model/PropertyRecord.h"
#include "framework/qt/testing/TestDriver.h"

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

// The class, not the record, decides a value's width. A faulty record names
// the key at fault and leaves the object as it was, good entries included.
TEST_F(SetPropertiesTest, FaultyRecordThrowsNamingTheKeyAndAppliesNothing) {
    const auto good = Record({{"Flag", true}, {"Count", std::int32_t{5}}});
    struct Case { const char* what; std::string record; std::string key; };
    const std::vector<Case> cases{
        {"unknown key", good + Record({{"Colour", std::int32_t{9}}}), "Colour"},
        {"inside a value", good.substr(0, good.size() - 1), "Count"},
        {"inside a key", good + "Cou", "Cou"},
        {"Boolean for an integer", Record({{"Count", true}}), "Count"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Probe probe;
        try {
            fw::SetProperties(probe, c.record);
            ADD_FAILURE() << "no exception";
        } catch (const fw::PropertyRecordException& error) {
            EXPECT_NE(std::string(error.what()).find(c.key), std::string::npos) << error.what();
        }
        EXPECT_TRUE(probe.log.empty()) << "part of a faulty record was applied";
    }
    ScriptedWindow window;
    EXPECT_THROW(fw::SetProperties(*window.New("EditField"), Record({{"Caption", std::string("OK")}})),
                 fw::PropertyRecordException);
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
