#pragma once

// The toolkit's widget behind an EditField; private to the framework.

#include "framework/ui/EditField.h"

#include <QTextEdit>

#include <functional>

namespace fw {

struct EditField::Editor : QTextEdit {
    explicit Editor(EditField& field);

    // Runs a change of the text as one: TextChange is raised once afterwards
    // (always when raiseAlways, else only when the text changed), SelChange
    // once when the selection moved.
    void Change(const std::function<void()>& change, bool raiseAlways = false);

    // Runs a change of formats only, which raises no TextChange: StyleChange
    // once afterwards when the document's formats changed.
    void Restyle(const std::function<void()>& restyle);

    // What the selected characters have in common, worked out once for a
    // selection of the document as it stands (EditFieldStyles.cpp).
    struct SelectionStyles {
        int start = -1, end = -1;
        quint64 generation = 0;
        QString ownFamily;
        bool bold = false, italic = false, underline = false;
        // The font of every selected character; empty when they differ.
        QString family;
    };
    // Puts text in place of the selection and the caret after it. Text of as
    // many characters as the selection gives each character the format of
    // the one it replaces; other text takes the format of the selection's
    // first character, or the typing format when nothing is selected.
    void ReplaceSelection(const QString& text);
    // Puts styled text in place of the selection and the caret after it; the
    // paragraphs keep their formats in order (EditField::SelStyledText).
    void ReplaceSelection(const StyledText& text);

    EditField& field;
    // Counts the changes of the document, of its formats as well as its text.
    quint64 contentsGeneration = 0;
    mutable SelectionStyles selectionStyles;
    bool singleLine = true;
    bool acceptTabs = false;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void ContentsChanged(int from, int removed, int added);
    void SelectionMoved();
    void PasteByHand(const std::function<void()>& paste);

    int changeDepth_ = 0;
    bool changedInside_ = false;
    bool restyling_ = false;
    bool restyledInside_ = false;
    int lastSelStart_ = -1, lastSelEnd_ = -1;
};

}  // namespace fw
