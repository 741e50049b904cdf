#include "Plumora.h"
#include "PlumoraLayout.h"

#include "menubar/MenuLookups.h"
#include "resources/Pictures.h"
#include "framework/ui/Runtime.h"

namespace {

constexpr fw::Color kBackground = fw::Color::FromRGB(0x6E6E6E);

const PlumoraMenuBinding kMenuBindings[] = {
    {"FileSave", &Plumora::FileSave_Action},
    {"FileSaveas", &Plumora::FileSaveas_Action},
    {"FormatLocked", &Plumora::FormatLocked_Action},
    {"EditUndo", &Plumora::EditUndo_Action},
    {"EditRedo", &Plumora::EditRedo_Action},
    {"EditPaste", &Plumora::EditPaste_Action},
    {"EditClear", &Plumora::EditClear_Action},
    {"Formattest", &Plumora::Formattest_Action},
};

}  // namespace

std::span<const PlumoraMenuBinding> PlumoraMenuBindings() { return kMenuBindings; }

class Plumora* Plumora() {
    if (auto* open = fw::GetImplicitWindow(Plumora::kClassName)) return static_cast<class Plumora*>(open);
    return fw::MakeWindow<class Plumora>(true);
}

void Plumora::CreateControls() { CreateControls0(); }

void Plumora::AddMenuHandlers(fw::Window& window) {
    auto& self = dynamic_cast<class Plumora&>(window);
    for (const auto& binding : kMenuBindings)
        self.AddMenuHandler(std::string(binding.item), [&self, method = binding.method] { return (self.*method)(); });
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
}

void Plumora::Event_Resizing() {
    if (auto* maximize = Canvas2()) maximize->Enabled(true);
}
