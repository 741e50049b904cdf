#include "Plumora.h"

#include "framework/ui/Dialogs.h"
#include "framework/model/Exceptions.h"

void Plumora::SaveFile(const std::string& name, bool saveAs) {
    auto target = Document;
    if (!target || saveAs) {
        target = fw::GetSaveFolderItem("text", ProposedSavePath(name));
        if (!target) return;
    }
    try {
        target->SaveStyledEditField(*EditField1());
    } catch (const fw::IOException& error) {
        fw::MsgBox(error.what());
        return;
    }
    if (target != Document) {
        Title(target->Name());
        Document = target;
    }
    TextHasChanged = false;
}

bool Plumora::FileSave_Action() {
    SaveFile(Title(), false);
    return true;
}

bool Plumora::FileSaveas_Action() {
    SaveFile(Title(), true);
    return true;
}

// An empty document closes at once; any other asks first, in the bar.
bool Plumora::Canvas8_MouseDown(int, int) {
    if (EditField1()->Text().empty()) Close();
    else Rectangle1()->Visible(true);
    return false;
}

void Plumora::Event_CloseRequest() { Canvas8_MouseDown(0, 0); }

bool Plumora::Canvas5_MouseDown(int, int) {
    SaveFile(Title(), true);
    return true;
}

// The full-screen button hides the menu bar; the window gives it back first.
bool Plumora::Canvas6_MouseDown(int, int) {
    MenuBarVisible(true);
    Close();
    return false;
}

bool Plumora::Canvas7_MouseDown(int, int) {
    Rectangle1()->Visible(false);
    for (auto* control :
         std::initializer_list<fw::RectControl*>{EditField1(), cmnu(), Colorbutton(), fontmenu(), sizemenu(),
                                                 BoldButton(), italicbutton(), underlinebutton()})
        control->Enabled(true);
    StaticText5()->Visible(true);
    return false;
}
