#include "menubar/MenuTable.h"

#include <array>

namespace {

constexpr std::nullopt_t kNotSet = std::nullopt;
constexpr bool M = false;  // an ordinary item
constexpr bool Q = true;   // the quit item

constexpr std::array<MenuRow, 9> kFile{{
    {0, "FileMenu", "&File", "", M, true},
    {1, "newwindow", "New Window", "Cmd+w", M, true},
    {1, "UntitledSeparator", "-", kNotSet, M, true},
    {1, "FileOpen", "&Open...", "Cmd+o", M, true},
    {1, "FileSave", "&Save", "Cmd+s", M, true},
    {1, "FileSaveas", "Save &as...", "Cmd+s", M, true},
    {1, "FilePageSetup", "Page Setup...", "Shift+P", M, false},
    {1, "FilePrint", "Print...", "Cmd+P", M, true},
    {1, "FileQuit", "&Quit", "Cmd+Q", Q, true},
}};

constexpr std::array<MenuRow, 15> kEdit{{
    {0, "EditMenu", "&Edit", "", M, true},
    {1, "EditUndo", "&Undo", "Cmd+Z", M, true},
    {1, "EditRedo", "Redo", "Cmd+Y", M, true},
    {1, "UntitledMenu1", "-", kNotSet, M, true},
    {1, "EditCopy", "&Copy", "Cmd+C", M, true},
    {1, "EditPaste", "&Paste", "Cmd+V", M, true},
    {1, "EditCut", "Cu&t", "Cmd+X", M, true},
    {1, "EditClear", "&Delete", "", M, true},
    {1, "EditSelectAll", "Select &All", "Cmd+A", M, true},
    {1, "UntitledMenu0", "-", kNotSet, M, true},
    {1, "EditWriteletter", "Write Letter", "Cmd+Shift+l", M, true},
    {1, "EditMakeWebsite", "Make Website", "Cmd+Shift+w", M, true},
    {1, "UntitledSeparator0", "-", kNotSet, M, true},
    {1, "EditFind", "Find...", "Cmd+f", M, false},
    {1, "editreplace", "Replace...", "Cmd+h", M, false},
}};

constexpr std::array<MenuRow, 3> kView{{
    {0, "ViewMenu", "View", "", M, true},
    {1, "ViewMinimize", "Minimize", "Cmd+m", M, true},
    {1, "ViewMaximize", "Mazimize/Restore", "Shift+m", M, true},
}};

constexpr std::array<MenuRow, 4> kInsert{{
    {0, "Insertmenu", "Insert", "", M, true},
    {1, "InsertTime", "Time Stamp", "Cmd+t", M, true},
    {1, "InsertDate", "Date Stamp", "Cmd+d", M, true},
    {1, "InsertDateandTime", "Date/Time Stamp", "Shift+d", M, true},
}};

constexpr std::array<MenuRow, 12> kFormat{{
    {0, "formatmenu", "Format", "", M, true},
    {1, "Formattest", "Font Color...", "Shift+f", M, true},
    {1, "FormatChangeCase", "Change Case", kNotSet, M, true},
    {2, "ChangeCaseUPPERCASE", "UPPER CASE", "Cmd+1", M, true},
    {2, "ChangeCaselowercase", "lower case", "Cmd+2", M, true},
    {2, "ChangeCasesreveRReverse", "esreveR Reverse", "Cmd+3", M, true},
    {2, "ChangeCaseTitleCase", "Title Case", "Cmd+4", M, true},
    {1, "UntitledItem1", "Align Text", kNotSet, M, true},
    {2, "AlignTextLeft", "Left", "Shift+1", M, true},
    {2, "AlignTextCenter", "Center", "Shift+2", M, true},
    {2, "AlignTextRight", "Right", "Shift+3", M, true},
    {1, "FormatLocked", "Locked", "Shift+T", M, true},
}};

}  // namespace

std::span<const MenuRow> FileMenuRows() { return kFile; }
std::span<const MenuRow> EditMenuRows() { return kEdit; }
std::span<const MenuRow> ViewMenuRows() { return kView; }
std::span<const MenuRow> InsertMenuRows() { return kInsert; }
std::span<const MenuRow> FormatMenuRows() { return kFormat; }
