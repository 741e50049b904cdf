#include "framework/qt/TextEditor.h"

#include "framework/qt/TextDocumentConvert.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace fw {

namespace {

// A stretch of the selection in one format: a fragment's share of it, or the
// paragraph break between two paragraphs.
struct Run {
    int position = 0;  // in the document, UTF-16 units
    int units = 0;     // UTF-16 units in the document
    int newStart = 0;  // where its replacement begins in the new text, UTF-16 units
    int newUnits = 0;
    QTextCharFormat format;
    bool paragraphBreak = false;
};

int CodePoints(QStringView text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++count;
    return count;
}

// The runs of the document between start and end, in order. A paragraph
// break takes the format of the character before it. A fragment's position
// is found once per paragraph and then counted on, as looking it up walks
// the document's tree.
std::vector<Run> RunsBetween(const QTextDocument& document, int start, int end) {
    std::vector<Run> runs;
    const auto formats = document.allFormats();
    for (auto block = document.findBlock(start); block.isValid() && block.position() <= end; block = block.next()) {
        if (block.position() > start) {
            const auto before = runs.empty() ? QTextCharFormat() : runs.back().format;
            runs.push_back({block.position() - 1, 1, 0, 0, before, true});
        }
        int position = block.position();
        for (auto it = block.begin(); !it.atEnd() && position < end; ++it) {
            const auto fragment = it.fragment();
            const int from = std::max(start, position);
            position += fragment.length();
            const int to = std::min(end, position);
            if (from < to)
                runs.push_back({from, to - from, 0, 0, formats.at(fragment.charFormatIndex()).toCharFormat(), false});
        }
    }
    return runs;
}

// Gives each run the stretch of the new text with as many characters as it
// holds.
void MatchNewText(std::vector<Run>& runs, const QString& oldText, const QString& newText, int start) {
    qsizetype at = 0;
    for (auto& run : runs) {
        run.newStart = static_cast<int>(at);
        for (int left = CodePoints(QStringView(oldText).mid(run.position - start, run.units)); left > 0; --left)
            at += newText[at].isHighSurrogate() && at + 1 < newText.size() && newText[at + 1].isLowSurrogate() ? 2 : 1;
        run.newUnits = static_cast<int>(at) - run.newStart;
    }
}

}  // namespace

void EditField::Editor::ReplaceSelection(const QString& text) {
    const auto selection = textCursor();
    const int start = selection.selectionStart();
    const QString old = selection.selectedText();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    if (selection.hasSelection() && CodePoints(old) == CodePoints(text)) {
        auto runs = RunsBetween(*document(), start, selection.selectionEnd());
        MatchNewText(runs, old, text, start);
        // From the end backwards, so that the runs before keep their positions.
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            const QStringView piece = QStringView(text).mid(run->newStart, run->newUnits);
            if (piece == QStringView(old).mid(run->position - start, run->units)) continue;
            cursor.setPosition(run->position);
            cursor.setPosition(run->position + run->units, QTextCursor::KeepAnchor);
            cursor.insertText(piece.toString(), run->format);
        }
    } else {
        QTextCursor first(document());
        first.setPosition(selection.hasSelection() ? start + 1 : start);
        const auto format = selection.hasSelection() ? first.charFormat() : currentCharFormat();
        cursor.setPosition(start);
        cursor.setPosition(selection.selectionEnd(), QTextCursor::KeepAnchor);
        cursor.insertText(text, format);
    }
    cursor.endEditBlock();
    cursor.setPosition(start + static_cast<int>(text.size()));
    setTextCursor(cursor);
}

void EditField::Editor::ReplaceSelection(const StyledText& text) {
    auto cursor = textCursor();
    const int start = cursor.selectionStart();
    std::vector<QTextBlockFormat> paragraphs;
    for (auto block = document()->findBlock(start); block.isValid() && block.position() <= cursor.selectionEnd();
         block = block.next())
        paragraphs.push_back(block.blockFormat());
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertStyledText(cursor, text);
    auto block = document()->findBlock(start);
    for (std::size_t i = 0; i < text.paragraphs.size() && block.isValid(); ++i, block = block.next())
        QTextCursor(block).setBlockFormat(paragraphs[std::min(i, paragraphs.size() - 1)]);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

}  // namespace fw
