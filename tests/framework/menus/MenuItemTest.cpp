#include "framework/menus/MenuItem.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using fw::MenuBar;
using fw::MenuItem;
using fw::QuitMenuItem;

template <class T = MenuItem>
std::shared_ptr<T> Named(const std::string& name, const std::string& text = "x") {
    auto item = std::make_shared<T>();
    item->Name(name);
    item->Text(text);
    return item;
}

// A small bar of three levels: File (New, -, Quit) and Format (Case (Upper, Lower), Locked).
class MenuTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = Named("FileMenu", "&File");
        file->Append(Named("FileNew"));
        file->Append(Named("FileSeparator", "-"));
        file->Append(quit = Named<QuitMenuItem>("FileQuit"));
        format = Named("FormatMenu", "Format");
        changeCase = Named("FormatCase", "Change Case");
        changeCase->Append(upper = Named("CaseUpper"));
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

TEST(MenuItemSeparator, OnlyASingleDashMakesOne) {
    EXPECT_TRUE(MenuItem("-").IsSeparator());
    for (const char* text : {"", "--", " -", "- ", "-x", "\xE2\x80\x93"}) EXPECT_FALSE(MenuItem(text).IsSeparator()) << text;
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

// Lookup hands out the appended objects themselves, so a change made through
// it is seen in the bar and the Quit item keeps its class.
TEST_F(MenuTreeTest, LookupFindsTheItemItselfAtAnyDepth) {
    EXPECT_EQ(bar.Lookup("FileMenu"), file);
    EXPECT_EQ(bar.Lookup("FormatCase"), changeCase);
    EXPECT_EQ(bar.Lookup("CaseUpper"), upper);
    EXPECT_EQ(bar.Lookup("CaseLower"), changeCase->Item(1));
    EXPECT_EQ(bar.Lookup("FormatLocked"), format->Item(1));
    EXPECT_EQ(bar.Lookup("FileSeparator"), file->Item(1));
    EXPECT_EQ(bar.Lookup("FileQuit"), quit);

    EXPECT_EQ(bar.Lookup("NoSuchItem"), nullptr);
    EXPECT_EQ(bar.Lookup(""), nullptr);
    EXPECT_EQ(MenuBar().Lookup("FileMenu"), nullptr);
}

}  // namespace
