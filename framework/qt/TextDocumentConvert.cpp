#include "framework/qt/TextDocumentConvert.h"

#include "framework/qt/QtConvert.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

#include <algorithm>
#include <utility>
#include <vector>

namespace fw {

namespace {

QTextBlockFormat BlockFormat(Alignment alignment) {
    QTextBlockFormat format;
    switch (alignment) {
    case Alignment::Default: break;
    case Alignment::Left: format.setAlignment(Qt::AlignLeft); break;
    case Alignment::Center: format.setAlignment(Qt::AlignHCenter); break;
    case Alignment::Right: format.setAlignment(Qt::AlignRight); break;
    case Alignment::Justify: format.setAlignment(Qt::AlignJustify); break;
    }
    return format;
}

Alignment AlignmentOf(const QTextBlockFormat& format) {
    if (!format.hasProperty(QTextFormat::BlockAlignment)) return Alignment::Default;
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) return Alignment::Center;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) return Alignment::Right;
    if (horizontal & Qt::AlignJustify) return Alignment::Justify;
    if (horizontal & (Qt::AlignLeft | Qt::AlignLeading)) return Alignment::Left;
    return Alignment::Default;
}

QTextCharFormat CharFormat(const CharStyle& style) {
    QTextCharFormat format;
    // The family goes in as one string, which Qt reads as a list of one. Qt
    // hashes a format's string list by its type alone, so formats that differ
    // only in their font would all share one hash, and the document's lookup
    // of each new format, when it is inserted and again when it is laid out,
    // would compare it with every one of them.
    if (!style.font.empty()) format.setProperty(QTextFormat::FontFamilies, ToQt(style.font));
    if (style.size > 0) format.setFontPointSize(style.size);
    if (style.bold) format.setFontWeight(QFont::Bold);
    if (style.italic) format.setFontItalic(true);
    if (style.underline) format.setFontUnderline(true);
    if (style.color) format.setForeground(QColor(style.color->red, style.color->green, style.color->blue));
    return format;
}

// Formats of the styles met so far. Documents use a handful of styles over
// and over; reusing a format also reuses the hash the document looks it up by.
class FormatCache {
public:
    const QTextCharFormat& Get(const CharStyle& style) {
        for (const auto& [known, format] : entries_) {
            if (known == style) return format;
        }
        if (entries_.size() >= kCapacity) entries_.erase(entries_.begin());
        entries_.emplace_back(style, CharFormat(style));
        return entries_.back().second;
    }

private:
    static constexpr std::size_t kCapacity = 32;
    std::vector<std::pair<CharStyle, QTextCharFormat>> entries_;
};

// Run text as the document should hold it: characters the cursor would turn
// into block or frame boundaries are replaced.
QString RunText(const std::string& text) {
    QString result = ToQt(text);
    for (QChar& ch : result) {
        switch (ch.unicode()) {
        case u'\r':
        case u'\n':
        case 0x2029: ch = QChar::LineSeparator; break;
        case 0xFDD0:  // frame start and end markers
        case 0xFDD1: ch = QChar::ReplacementCharacter; break;
        default: break;
        }
    }
    return result;
}

}  // namespace

CharStyle StyleOf(const QTextCharFormat& format) {
    CharStyle style;
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty()) style.font = families.first().toStdString();
    }
    if (style.font.empty() && format.hasProperty(QTextFormat::FontFamily)) {
        style.font = format.stringProperty(QTextFormat::FontFamily).toStdString();
    }
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        const double size = format.fontPointSize();
        if (size > 0) style.size = size;
    }
    style.bold = format.fontWeight() >= QFont::DemiBold;
    style.italic = format.fontItalic();
    style.underline = format.fontUnderline();
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        const QBrush brush = format.foreground();
        if (brush.style() != Qt::NoBrush) {
            const QColor color = brush.color().toRgb();
            style.color = Color{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                                static_cast<std::uint8_t>(color.blue())};
        }
    }
    return style;
}

void SetDocumentStyledText(QTextDocument& doc, const StyledText& text) {
    const bool undo = doc.isUndoRedoEnabled();
    // Recording undo steps for the inserted text would double the work and let
    // the user "undo" into a half-built document.
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    // Clearing inside the edit block makes the whole edit one change from an
    // empty document, which the layout of a text field then lays out lazily,
    // the visible part first, instead of all at once.
    cursor.beginEditBlock();
    doc.clear();
    InsertStyledText(cursor, text);
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

void InsertStyledText(QTextCursor& cursor, const StyledText& text) {
    FormatCache formats;
    bool first = true;
    for (const StyledParagraph& paragraph : text.paragraphs) {
        if (first) {
            cursor.setBlockFormat(BlockFormat(paragraph.alignment));
            first = false;
        } else {
            cursor.insertBlock(BlockFormat(paragraph.alignment), QTextCharFormat());
        }
        for (const StyledRun& run : paragraph.runs) {
            if (run.text.empty()) continue;
            cursor.insertText(RunText(run.text), formats.Get(run.style));
        }
    }
}

QFontInfo OwnFont(const QTextDocument& doc) { return QFontInfo(doc.defaultFont()); }

StyledText DocumentStyledText(const QTextDocument& doc) {
    const QTextBlock firstBlock = doc.begin();
    if (doc.blockCount() == 1 && firstBlock.length() <= 1 &&
        !firstBlock.blockFormat().hasProperty(QTextFormat::BlockAlignment)) {
        return {};
    }
    return DocumentStyledText(doc, 0, doc.characterCount() - 1);
}

// Only the first and the last block may lie partly outside the stretch: the
// positions of their fragments are counted on from the block's, as looking a
// fragment's position up walks the document's tree.
StyledText DocumentStyledText(const QTextDocument& doc, int start, int end) {
    StyledText result;
    const QTextBlock first = doc.findBlock(start), last = doc.findBlock(end);
    result.paragraphs.reserve(static_cast<std::size_t>(last.blockNumber() - first.blockNumber() + 1));
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        StyledParagraph& paragraph = result.paragraphs.emplace_back();
        paragraph.alignment = AlignmentOf(block.blockFormat());
        const bool inPart = block == first || block == last;
        int position = inPart ? block.position() : 0;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int length = fragment.length();
            const int from = inPart ? std::max(start, position) : position;
            const int to = inPart ? std::min(end, position + length) : position + length;
            const int skipped = from - position;
            position += length;
            if (!fragment.isValid() || from >= to) continue;
            CharStyle style = StyleOf(fragment.charFormat());
            const QString piece = to - from == length ? fragment.text() : fragment.text().mid(skipped, to - from);
            std::string text = piece.toStdString();
            if (!paragraph.runs.empty() && paragraph.runs.back().style == style) {
                paragraph.runs.back().text += text;
            } else {
                paragraph.runs.push_back(StyledRun{std::move(text), std::move(style)});
            }
        }
        if (block == last) break;
    }
    return result;
}

}  // namespace fw
