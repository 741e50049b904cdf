#include "menubar/MenuLookups.h"

#include "framework/ui/Application.h"
#include "framework/ui/Runtime.h"
#include "framework/model/Exceptions.h"

namespace {

std::shared_ptr<fw::MenuItem> Lookup(std::string_view name) {
    auto* app = fw::GetAppObject();
    if (!app) throw fw::NilObjectException("there is no application object");
    const auto& bar = app->MenuBar();
    if (!bar) throw fw::NilObjectException("the application has no menu bar");
    return bar->Lookup(name);
}

}  // namespace

std::shared_ptr<fw::MenuItem> FormatLocked() { return Lookup("FormatLocked"); }
std::shared_ptr<fw::MenuItem> editreplace() { return Lookup("editreplace"); }
std::shared_ptr<fw::MenuItem> EditFind() { return Lookup("EditFind"); }
std::shared_ptr<fw::MenuItem> EditSelectAll() { return Lookup("EditSelectAll"); }
std::shared_ptr<fw::MenuItem> EditClear() { return Lookup("EditClear"); }
std::shared_ptr<fw::MenuItem> EditCut() { return Lookup("EditCut"); }
std::shared_ptr<fw::MenuItem> EditPaste() { return Lookup("EditPaste"); }
std::shared_ptr<fw::MenuItem> EditCopy() { return Lookup("EditCopy"); }
std::shared_ptr<fw::MenuItem> EditRedo() { return Lookup("EditRedo"); }
std::shared_ptr<fw::MenuItem> EditUndo() { return Lookup("EditUndo"); }
std::shared_ptr<fw::MenuItem> FilePrint() { return Lookup("FilePrint"); }
std::shared_ptr<fw::MenuItem> FilePageSetup() { return Lookup("FilePageSetup"); }
std::shared_ptr<fw::MenuItem> FileSave() { return Lookup("FileSave"); }
