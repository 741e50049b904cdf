#include "framework/qt/TextDocumentConvert.h"

#include "framework/qt/QtConvert.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

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
    cursor.endEditBlock();
    doc.setUndoRedoEnabled(undo);
}

StyledText DocumentStyledText(const QTextDocument& doc) {
    StyledText result;
    const QTextBlock firstBlock = doc.begin();
    if (doc.blockCount() == 1 && firstBlock.length() <= 1 &&
        !firstBlock.blockFormat().hasProperty(QTextFormat::BlockAlignment)) {
        return result;
    }
    result.paragraphs.reserve(static_cast<std::size_t>(doc.blockCount()));
    for (QTextBlock block = firstBlock; block.isValid(); block = block.next()) {
        StyledParagraph& paragraph = result.paragraphs.emplace_back();
        paragraph.alignment = AlignmentOf(block.blockFormat());
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.length() == 0) continue;
            CharStyle style = StyleOf(fragment.charFormat());
            std::string text = fragment.text().toStdString();
            if (!paragraph.runs.empty() && paragraph.runs.back().style == style) {
                paragraph.runs.back().text += text;
            } else {
                paragraph.runs.push_back(StyledRun{std::move(text), std::move(style)});
            }
        }
    }
    return result;
}

}  // namespace fw
