#include "ScriptedWindow.h"

#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/text/StyledText.h"
#include "framework/ui/EditField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using widgettests::ScriptedWindow;
namespace drive = fw::testing;

// A window with a styled multi-line field, whose text at every TextChange is kept.
class EditFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive::InstallScriptedDialogs();
        window = ScriptedWindow::Make({.layout = [](ScriptedWindow& w) { w.Visible(true); },
                                       .createControls = [this](ScriptedWindow& w) {
                                           auto& f = w.Add<fw::EditField>("EditField", "Field", 10, 10, 300, 150);
                                           f.Multiline(true);
                                           f.Styled(true);
                                           f.InstallEventHandler("TextChange", fw::PlainHandler([this] {
                                                                     changes.push_back(field->Text());
                                                                 }));
                                       }});
        field = window->Control<fw::EditField>("Field");
    }
    void TearDown() override { drive::ReleaseAllWindows(); }

    void Select(long start, long length) {
        field->SelStart(start);
        field->SelLength(length);
    }

    ScriptedWindow* window = nullptr;
    fw::EditField* field = nullptr;
    std::vector<std::string> changes;
};

// Whatever changes the text raises TextChange once, with the new text in
// place, before it returns; line breaks read as CR whatever was written.
TEST_F(EditFieldTest, EveryChangeRaisesTextChangeOnceBeforeReturning) {
    field->Text("one\r\ntwo\nthree");
    EXPECT_EQ(changes, std::vector<std::string>{"one\rtwo\rthree"}) << "TextChange did not run before Text returned";
    Select(4, 3);
    field->SelText("a\nb");
    field->SetStyledText({{{fw::Alignment::Default, {{"first ", {}}, {"bold", {"", 0, true, false, false, {}}}}}}});
    field->Text("");
    drive::TypeText(*field, "ab");
    drive::PressKeys(*window, "Left");
    drive::PressKeys(*window, "Backspace");
    drive::ProcessEvents();
    EXPECT_EQ(changes, (std::vector<std::string>{"one\rtwo\rthree", "one\ra\rb\rthree", "first bold", "", "a", "ab", "b"}));
}

}  // namespace
