#include "framework/MenuItem.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using fw::MenuBar;
using fw::MenuItem;
using fw::QuitMenuItem;

std::shared_ptr<MenuItem> Named(const std::string& name, const std::string& text = "x") {
    auto item = std::make_shared<MenuItem>(text);
    item->Name(name);
    return item;
}

std::vector<std::string> ChildNames(const MenuItem& parent) {
    std::vector<std::string> names;
    for (int i = 0; i < parent.Count(); ++i) names.push_back(parent.Item(i)->Name());
    return names;
}

// A small bar of three levels: File (New, -, Quit) and Format (Case (Upper, Lower), Locked).
class MenuTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = Named("FileMenu", "&File");
        file->Append(Named("FileNew"));
        file->Append(Named("FileSeparator", "-"));
        quit = std::make_shared<QuitMenuItem>();
        quit->Name("FileQuit");
        file->Append(quit);
        format = Named("FormatMenu", "Format");
        changeCase = Named("FormatCase", "Change Case");
        upper = Named("CaseUpper");
        changeCase->Append(upper);
        changeCase->Append(Named("CaseLower"));
        format->Append(changeCase);
        format->Append(Named("FormatLocked"));
        bar.Append(file);
        bar.Append(format);
    }

    MenuBar bar;
    std::shared_ptr<MenuItem> file, format, changeCase, upper;
    std::shared_ptr<QuitMenuItem> quit;
};

TEST(MenuItemNew, StartsEmptyEnabledVisibleUncheckedWithNoShortcutSet) {
    const MenuItem item;
    EXPECT_EQ(item.Name(), "");
    EXPECT_EQ(item.Text(), "");
    EXPECT_FALSE(item.KeyboardShortcut().has_value());
    EXPECT_TRUE(item.AutoEnable());
    EXPECT_TRUE(item.Enabled());
    EXPECT_TRUE(item.Visible());
    EXPECT_FALSE(item.Checked());
    EXPECT_EQ(item.Count(), 0);
    EXPECT_FALSE(item.IsSeparator());
}

TEST(MenuItemShortcut, SetEmptyDiffersFromNeverSet) {
    MenuItem item;
    item.KeyboardShortcut("");
    ASSERT_TRUE(item.KeyboardShortcut().has_value());
    EXPECT_EQ(*item.KeyboardShortcut(), "");
    item.KeyboardShortcut("Cmd+Shift+l");
    EXPECT_EQ(*item.KeyboardShortcut(), "Cmd+Shift+l");
}

TEST(MenuItemSeparator, OnlyASingleDashMakesOne) {
    EXPECT_TRUE(MenuItem("-").IsSeparator());
    for (const char* text : {"", "--", " -", "- ", "-x", "\xE2\x80\x93"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(MenuItem(text).IsSeparator());
    }
}

TEST(MenuItemFlags, EnableSwitchesBackOnAndFlagsStayApart) {
    MenuItem item;
    item.Enabled(false);
    item.AutoEnable(false);
    item.Checked(true);
    item.Visible(false);
    EXPECT_FALSE(item.Enabled());
    item.Enable();
    EXPECT_TRUE(item.Enabled());
    EXPECT_FALSE(item.AutoEnable());
    EXPECT_TRUE(item.Checked());
    EXPECT_FALSE(item.Visible());
}

TEST_F(MenuTreeTest, AppendKeepsOrderAndTheObjectsThemselves) {
    EXPECT_EQ(ChildNames(bar), (std::vector<std::string>{"FileMenu", "FormatMenu"}));
    EXPECT_EQ(ChildNames(*file), (std::vector<std::string>{"FileNew", "FileSeparator", "FileQuit"}));
    EXPECT_EQ(ChildNames(*changeCase), (std::vector<std::string>{"CaseUpper", "CaseLower"}));
    EXPECT_EQ(bar.Item(0), file);
    EXPECT_EQ(format->Item(0), changeCase);
    EXPECT_EQ(file->Item(2), quit);
}

TEST_F(MenuTreeTest, ChildFindsDirectChildrenOnly) {
    EXPECT_EQ(bar.Child("FileMenu"), file);
    EXPECT_EQ(format->Child("FormatCase"), changeCase);
    EXPECT_EQ(changeCase->Child("CaseUpper"), upper);
    // Grandchildren are not children.
    EXPECT_EQ(bar.Child("FileNew"), nullptr);
    EXPECT_EQ(format->Child("CaseUpper"), nullptr);
    EXPECT_EQ(bar.Child("NoSuchItem"), nullptr);
    EXPECT_EQ(upper->Child("CaseUpper"), nullptr);
}

TEST_F(MenuTreeTest, LookupFindsAnyDepthBelowTheBar) {
    EXPECT_EQ(bar.Lookup("FileMenu"), file);
    EXPECT_EQ(bar.Lookup("FormatCase"), changeCase);
    EXPECT_EQ(bar.Lookup("CaseUpper"), upper);
    EXPECT_EQ(bar.Lookup("CaseLower"), changeCase->Item(1));
    EXPECT_EQ(bar.Lookup("FormatLocked"), format->Item(1));
    EXPECT_EQ(bar.Lookup("FileSeparator"), file->Item(1));
    EXPECT_TRUE(bar.Lookup("FileSeparator")->IsSeparator());
}

TEST_F(MenuTreeTest, LookupOfAnUnknownNameGivesNothing) {
    EXPECT_EQ(bar.Lookup("NoSuchItem"), nullptr);
    EXPECT_EQ(bar.Lookup(""), nullptr);
    EXPECT_EQ(MenuBar().Lookup("FileMenu"), nullptr);
}

TEST_F(MenuTreeTest, LookupKeepsTheQuitItemsClass) {
    const auto found = bar.Lookup("FileQuit");
    EXPECT_EQ(found, quit);
    EXPECT_NE(std::dynamic_pointer_cast<QuitMenuItem>(found), nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<QuitMenuItem>(bar.Lookup("FileNew")), nullptr);
}

TEST_F(MenuTreeTest, AChangeThroughOneReferenceIsSeenThroughEveryOther) {
    bar.Lookup("FormatLocked")->Checked(true);
    EXPECT_TRUE(bar.Lookup("FormatLocked")->Checked());
    EXPECT_TRUE(format->Child("FormatLocked")->Checked());
    upper->Visible(false);
    EXPECT_FALSE(bar.Lookup("CaseUpper")->Visible());
}

TEST_F(MenuTreeTest, ASharedItemStandsInTwoMenusAsOneObject) {
    auto context = std::make_shared<MenuItem>();
    context->Append(bar.Lookup("FileNew"));
    context->Item(0)->Enabled(false);
    EXPECT_FALSE(file->Child("FileNew")->Enabled());
    EXPECT_EQ(file->Count(), 3);
}

}  // namespace
