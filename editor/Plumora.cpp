#include "Plumora.h"
#include "PlumoraLayout.h"

#include "menubar/MenuLookups.h"
#include "resources/Pictures.h"
#include "framework/ui/Runtime.h"

namespace {

constexpr fw::Color kBackground = fw::Color::FromRGB(0x6E6E6E);

const fw::MenuBinding<class Plumora> kMenuBindings[] = {
    {"FileSave", &Plumora::FileSave_Action},
    {"newwindow", &Plumora::newwindow_Action},
    {"FileSaveas", &Plumora::FileSaveas_Action},
    {"EditMakeWebsite", &Plumora::EditMakeWebsite_Action},
    {"EditWriteletter", &Plumora::EditWriteletter_Action},
    {"ChangeCaseUPPERCASE", &Plumora::ChangeCaseUPPERCASE_Action},
    {"ChangeCaselowercase", &Plumora::ChangeCaselowercase_Action},
    {"ChangeCaseTitleCase", &Plumora::ChangeCaseTitleCase_Action},
    {"FormatLocked", &Plumora::FormatLocked_Action},
    {"ChangeCasesreveRReverse", &Plumora::ChangeCasesreveRReverse_Action},
    {"Formattest", &Plumora::Formattest_Action},
    {"EditUndo", &Plumora::EditUndo_Action},
    {"EditRedo", &Plumora::EditRedo_Action},
    {"EditPaste", &Plumora::EditPaste_Action},
    {"EditClear", &Plumora::EditClear_Action},
    {"FilePageSetup", &Plumora::FilePageSetup_Action},
    {"FilePrint", &Plumora::FilePrint_Action},
    {"EditFind", &Plumora::EditFind_Action},
    {"editreplace", &Plumora::editreplace_Action},
    {"AlignTextCenter", &Plumora::AlignTextCenter_Action},
    {"AlignTextLeft", &Plumora::AlignTextLeft_Action},
    {"AlignTextRight", &Plumora::AlignTextRight_Action},
    {"InsertDate", &Plumora::InsertDate_Action},
    {"InsertTime", &Plumora::InsertTime_Action},
    {"InsertDateandTime", &Plumora::InsertDateandTime_Action},
    {"ViewMaximize", &Plumora::ViewMaximize_Action},
    {"ViewMinimize", &Plumora::ViewMinimize_Action},
};

}  // namespace

std::span<const fw::MenuBinding<class Plumora>> PlumoraMenuBindings() { return kMenuBindings; }

class Plumora* Plumora() {
    if (auto* open = fw::GetImplicitWindow(Plumora::kClassName)) return static_cast<class Plumora*>(open);
    return fw::MakeWindow<class Plumora>(true);
}

void Plumora::CreateControls() { CreateControls0(); }

void Plumora::AddMenuHandlers(fw::Window& window) {
    fw::BindMenuHandlers(dynamic_cast<class Plumora&>(window), kMenuBindings);
}

void Plumora::Event_Open() {
    BackColor(kBackground);
    // Undo and Redo belong to the one menu bar: a new window switches them off everywhere.
    if (auto undo = EditUndo()) undo->AutoEnable(false);
    if (auto redo = EditRedo()) redo->AutoEnable(false);
}

void Plumora::Event_EnableMenuItems() {
    for (const auto& lookup : {FilePageSetup, FilePrint, EditFind, editreplace})
        if (auto item = lookup()) item->Enable();
    if (auto locked = FormatLocked()) locked->Checked(locked_);
}

void Plumora::Event_Resizing() {
    if (auto* maximize = Canvas2()) maximize->Enabled(true);
}
