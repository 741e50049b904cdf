#include "App.h"
#include "shell/QuitGuard.h"

#include "editor/Plumora.h"
#include "framework/ui/Dialogs.h"
#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Runtime.h"

const fw::MenuBinding<class App> kAppMenuBindings[5] = {
    {"newwindow", &App::newwindow_Action},
    {"FileOpen", &App::FileOpen_Action},
    {"EditMakeWebsite", &App::EditMakeWebsite_Action},
    {"FileQuit", &App::FileQuit_Action},
    {"ChangeCaseUPPERCASE", &App::ChangeCaseUPPERCASE_Action},
};

class App* App() {
    return dynamic_cast<class App*>(fw::GetAppObject());
}

bool App::newwindow_Action() {
    fw::MakeWindow<class Plumora>()->Show();
    return true;
}

bool App::FileOpen_Action() {
    const auto file = fw::GetOpenFolderItem("");
    if (!file) return true;
    auto* window = fw::MakeWindow<class Plumora>();
    auto* field = dynamic_cast<fw::EditField*>(fw::RuntimeWindowControlByName(*window, "EditField1"));
    if (!field) return true;
    fw::DocumentFormat format;
    try {
        format = file->OpenStyledEditField(*field);
    } catch (const fw::IOException& error) {
        // A window bound to a file it could not read would later save an
        // empty document over that file: it goes, and the user is told why.
        window->Close();
        fw::MsgBox(error.what());
        return true;
    }
    // A plain-text file is not the document's file: saving asks for one.
    if (format == fw::DocumentFormat::StyledText) window->Document = file;
    else window->PlainTextSource = file;
    window->Title(file->Name());
    window->TextHasChanged = false;
    return true;
}

// With no document window in front there is no website to make: the command
// is taken and nothing happens.
bool App::EditMakeWebsite_Action() { return true; }

// Declining lets the quit item's own action quit the application; taking the
// command keeps the program, and the unsaved work, as they were.
bool App::FileQuit_Action() { return !QuitMayDiscardUnsavedWork(); }

// With no document window in front there is no text to change; declining
// leaves the command to nobody.
bool App::ChangeCaseUPPERCASE_Action() { return false; }
