#pragma once

// Private to the framework: moves styled text into and out of Qt's text
// document, which the text field edits.

#include "framework/text/StyledText.h"

class QFontInfo;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace fw {

// Replaces the whole content of the document: one block per paragraph (an
// empty document when there are none), each run inserted with only the
// properties its style states. A run's CR, LF or U+2029 becomes a line break
// (U+2028), since runs never hold a paragraph break. The undo history is
// cleared, as for any wholesale replacement of the text.
void SetDocumentStyledText(QTextDocument& doc, const StyledText& text);

// Inserts the paragraphs at the cursor by the same rules: the first takes
// over the paragraph the cursor is in, each further one begins a new one.
void InsertStyledText(QTextCursor& cursor, const StyledText& text);

// Reads the document back, one paragraph per block, merging adjacent
// fragments of equal style. A format property that is not set reads as the
// model's default: no font name, size 0, no colour. A document holding only
// one empty block without alignment reads as no paragraphs.
StyledText DocumentStyledText(const QTextDocument& doc);

// The same of the stretch from start to end (UTF-16 units): one paragraph for
// each block the stretch touches, the first and the last perhaps in part.
StyledText DocumentStyledText(const QTextDocument& doc, int start, int end);

// The style that a character format states, read by the same rules.
CharStyle StyleOf(const QTextCharFormat& format);

// The font that text with no font or size of its own is shown in: the
// installed family the toolkit matched to the document's font, never an
// alias such as "Sans Serif" that names no font, and its size.
QFontInfo OwnFont(const QTextDocument& doc);

}  // namespace fw
