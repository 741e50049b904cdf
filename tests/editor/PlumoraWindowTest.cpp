#include "tests/support/ApplicationTest.h"
#include "tests/support/PictureNames.h"
#include "tests/support/Transcription.h"

#include <map>

namespace {

using fw::testing::ShownMenuItem;

// The rows of one kind in the transcription of the document window, without their kind.
std::vector<std::vector<std::string>> Rows(const std::string& kind) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : TranscribedRows("document-window.txt"))
        if (row.at(0) == kind) rows.emplace_back(row.begin() + 1, row.end());
    return rows;
}

using Values = std::map<std::string, fw::PropertyValue>;

// The KEY=VALUE cells from the first on, over the values given.
Values ValuesOf(const std::vector<std::string>& cells, std::size_t from, Values values = {}) {
    for (auto& [key, value] : TranscribedEntries(cells, from)) values.insert_or_assign(key, value);
    return values;
}

void ExpectValues(const fw::Object& object, const Values& values) {
    for (const auto& [key, value] : values) EXPECT_EQ(object.Property(key), value) << key;
}

bool IsOfClass(fw::RectControl& control, const std::string& className) {
    if (className == "EditField") return dynamic_cast<fw::EditField*>(&control) != nullptr;
    if (className == "BevelButton") return dynamic_cast<fw::BevelButton*>(&control) != nullptr;
    if (className == "StaticText") return dynamic_cast<fw::StaticText*>(&control) != nullptr;
    if (className == "Canvas") return dynamic_cast<fw::Canvas*>(&control) != nullptr;
    return className == "Rectangle" && dynamic_cast<fw::Rectangle*>(&control) != nullptr;
}

std::shared_ptr<fw::Picture> PictureOf(fw::RectControl& control) {
    if (auto* button = dynamic_cast<fw::BevelButton*>(&control)) return button->Icon();
    if (auto* canvas = dynamic_cast<fw::Canvas*>(&control)) return canvas->Backdrop();
    return nullptr;
}

// The start values that the controls' Open events set again: the menus'
// captions and the colour menu's row; the size menu's also hides the redo
// snapshot.
const std::map<std::string, std::string> kSetAgainWhenOpened{
    {"sizemenu", "Caption"}, {"fontmenu", "Caption"}, {"cmnu", "MenuValue"}, {"EditField5", "Visible"}};

using PlumoraWindowTest = ApplicationTest;

// The built window, control by control, against tests/data/document-window.txt.
TEST_F(PlumoraWindowTest, TwoNewWindowsAreBuiltAsTranscribedWithControlsOfTheirOwnAndSharedPictures) {
    auto* first = NewWindow();
    auto* window = NewWindow();
    const auto windowRows = Rows("window");
    ASSERT_EQ(windowRows.size(), 1u);
    ExpectValues(*window, ValuesOf(windowRows[0], 0));
    EXPECT_EQ(window->Backdrop(), bannerplumora51());

    std::map<std::string, std::vector<std::string>> classValues;
    for (const auto& row : Rows("class")) classValues[row[0]] = row;
    const auto controls = Rows("control");
    ASSERT_EQ(controls.size(), 25u);
    ASSERT_EQ(window->ControlCount(), 25);
    for (int i = 0; i < 25; ++i) {
        const auto& row = controls[static_cast<std::size_t>(i)];
        SCOPED_TRACE(row[0]);
        auto& control = window->ControlAt(i);
        EXPECT_EQ(control.Name(), row[0]);
        EXPECT_TRUE(IsOfClass(control, row[1])) << "not a " << row[1];
        EXPECT_EQ(PictureOf(control), row[2] == "-" ? nullptr : PictureNamed(row[2])());
        EXPECT_EQ(PictureOf(first->ControlAt(i)), PictureOf(control));
        EXPECT_NE(&first->ControlAt(i), &control);
        auto values = ValuesOf(row, 3, ValuesOf(classValues.at(row[1]), 1));
        if (kSetAgainWhenOpened.contains(row[0])) values.erase(kSetAgainWhenOpened.at(row[0]));
        ExpectValues(control, values);
    }
}

// Page Setup, Print, Find and Replace are enabled by the document window in
// front, whatever it holds; a plain window leaves them disabled.
TEST_F(PlumoraWindowTest, TheDocumentWindowInFrontEnablesItsOwnItems) {
    NewWindow();
    const char* const items[]{"FilePageSetup", "FilePrint",    "EditFind",  "editreplace",
                              "InsertDate",    "ViewMinimize", "Formattest"};
    for (const char* name : items) EXPECT_TRUE(ShownMenuItem(name).visible && ShownMenuItem(name).enabled) << name;
    fw::MakeWindow<fw::Window>()->Show();
    fw::testing::ProcessEvents();
    for (const char* name : items) EXPECT_FALSE(ShownMenuItem(name).enabled) << name << " in a plain window";
}

// The desktop's close box and Alt+F4 take the road of the close picture.
TEST_F(PlumoraWindowTest, TheDesktopsCloseRequestShowsTheBarOrClosesAnEmptyWindow) {
    auto* window = NewWindow();
    fw::testing::TypeText(*window->EditField1(), "kept");
    EXPECT_FALSE(fw::testing::CloseLikeUser(*window));
    EXPECT_TRUE(window->Rectangle1()->Visible());
    EXPECT_EQ(window->EditField1()->Text(), "kept");

    EXPECT_TRUE(fw::testing::CloseLikeUser(*NewWindow()));
    EXPECT_EQ(fw::WindowCount(), 1);
}

}  // namespace
