#include "Plumora.h"

#include "WordCount.h"
#include "menubar/MenuLookups.h"

#include <string>

void Plumora::EditField1_EnableMenuItems() {
    if (auto save = FileSave()) save->Visible(TextHasChanged);
}

void Plumora::EditField1_TextChange() {
    if (auto undo = EditUndo()) undo->AutoEnable(true);
    TextHasChanged = true;
    // No word runs across a line break: the count of the whole text is the
    // sum of its paragraphs' counts, which the field keeps.
    const long words = EditField1()->SumOverParagraphs(CountWords);
    StaticText5()->Text("There are: " + std::to_string(words) + " Words.");
}

void Plumora::EditField1_StyleChange() { TextHasChanged = true; }

bool Plumora::EditField1_ConstructContextualMenu(fw::MenuItem& base, int, int) {
    base.Append(EditCut());
    base.Append(EditCopy());
    base.Append(EditPaste());
    base.Append(EditClear());
    base.Append(std::make_shared<fw::MenuItem>("-"));
    base.Append(EditSelectAll());
    return false;
}

// Undo goes back to the text as it was at the last click into the document,
// Paste or Delete, however much was typed since.
void Plumora::TakeSnapshot() {
    auto* document = EditField1();
    auto* snapshot = EditField4();
    if (snapshotTaken_ && document->TextRevision() == snapshotOfRevision_ &&
        snapshot->TextRevision() == snapshotRevision_)
        return;
    snapshot->Text(document->Text());
    snapshotOfRevision_ = document->TextRevision();
    snapshotRevision_ = snapshot->TextRevision();
    snapshotTaken_ = true;
}

bool Plumora::EditField1_MouseDown(int, int) {
    TakeSnapshot();
    return false;
}

bool Plumora::EditPaste_Action() {
    TakeSnapshot();
    return true;
}

bool Plumora::EditClear_Action() {
    TakeSnapshot();
    return true;
}

// The snapshots hold plain text: the restored text takes the style around it.
bool Plumora::EditUndo_Action() {
    EditField5()->Text(EditField1()->Text());
    EditField1()->Text(EditField4()->Text());
    if (auto undo = EditUndo()) undo->AutoEnable(false);
    if (auto redo = EditRedo()) redo->AutoEnable(true);
    return true;
}

bool Plumora::EditRedo_Action() {
    EditField1()->Text(EditField5()->Text());
    if (auto undo = EditUndo()) undo->AutoEnable(true);
    if (auto redo = EditRedo()) redo->AutoEnable(false);
    return true;
}

// The lock is this window's; the cancel button of the save-changes bar may
// have enabled the field since, which unlocking leaves enabled.
bool Plumora::FormatLocked_Action() {
    locked_ = !locked_;
    FormatLocked()->Checked(locked_);
    EditField1()->Enabled(!locked_);
    return true;
}
