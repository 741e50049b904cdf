#include "framework/ui/EditField.h"

#include "framework/model/RealToInteger.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/TextEditor.h"

#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace fw {

namespace {

QString OwnFamily(const QTextDocument& document) { return OwnFont(document).family(); }

// The font a format gives its text: its own, or the field's.
QString FamilyOf(const QTextCharFormat& format, const QString& ownFamily) {
    const auto font = StyleOf(format).font;
    return font.empty() ? ownFamily : ToQt(font);
}

// The format of the selection's first character, or at an insertion point
// the format that typing there would give.
QTextCharFormat LeadingFormat(const QTextEdit& editor) {
    const auto cursor = editor.textCursor();
    if (!cursor.hasSelection()) return editor.currentCharFormat();
    QTextCursor first(editor.document());
    first.setPosition(cursor.selectionStart() + 1);
    return first.charFormat();
}

using Styles = EditField::Editor::SelectionStyles;

// The styles of a selection before any of its characters is looked at.
Styles Nothing(int start, int end, const QString& ownFamily) {
    Styles styles;
    styles.start = start;
    styles.end = end;
    styles.ownFamily = ownFamily;
    return styles;
}

// Folds one format into what the selection's characters have in common so far.
void Fold(Styles& styles, const QTextCharFormat& format, bool first) {
    const auto style = StyleOf(format);
    const QString family = FamilyOf(format, styles.ownFamily);
    styles.bold = style.bold && (first || styles.bold);
    styles.italic = style.italic && (first || styles.italic);
    styles.underline = style.underline && (first || styles.underline);
    if (first) styles.family = family;
    else if (styles.family != family) styles.family.clear();
}

bool NothingLeftInCommon(const Styles& styles) {
    return !styles.bold && !styles.italic && !styles.underline && styles.family.isEmpty();
}

// One pass over the fragments of the selection. A document uses few formats
// over and over: each is read once, by its index, and the pass ends as soon
// as the characters have nothing left in common.
Styles Summarise(const QTextDocument& document, int start, int end) {
    auto styles = Nothing(start, end, OwnFamily(document));
    std::vector<bool> seen;
    bool first = true;
    for (auto block = document.findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
        // Only the first and last paragraphs may lie partly outside.
        const bool inside = block.position() >= start && block.position() + block.length() <= end;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const auto fragment = it.fragment();
            if (!inside && (fragment.position() + fragment.length() <= start || fragment.position() >= end)) continue;
            const auto index = static_cast<std::size_t>(fragment.charFormatIndex());
            if (index >= seen.size()) seen.resize(index + 1);
            if (seen[index]) continue;
            seen[index] = true;
            Fold(styles, fragment.charFormat(), first);
            first = false;
            if (NothingLeftInCommon(styles)) return styles;
        }
    }
    // A selection of paragraph breaks alone has the style of its first one.
    if (first) {
        QTextCursor at(const_cast<QTextDocument*>(&document));
        at.setPosition(start + 1);
        Fold(styles, at.charFormat(), true);
    }
    return styles;
}

// The selection's common styles, kept until the selection or the document changes.
const Styles& SelectionStylesOf(const EditField::Editor& editor) {
    const auto cursor = editor.textCursor();
    auto& kept = editor.selectionStyles;
    if (kept.start != cursor.selectionStart() || kept.end != cursor.selectionEnd() ||
        kept.generation != editor.contentsGeneration || kept.ownFamily != OwnFamily(*editor.document())) {
        kept = Summarise(*editor.document(), cursor.selectionStart(), cursor.selectionEnd());
        kept.generation = editor.contentsGeneration;
    }
    return kept;
}

// Styles taken from the selection's characters in common, or at an
// insertion point from the typing format.
template <class Member>
auto Common(const EditField::Editor& editor, Member member) {
    if (editor.textCursor().hasSelection()) return SelectionStylesOf(editor).*member;
    const auto typing = editor.currentCharFormat();
    auto styles = Nothing(-1, -1, OwnFamily(*editor.document()));
    Fold(styles, typing, true);
    return styles.*member;
}

// Formats the selection, or at an insertion point what is typed next.
void Merge(EditField::Editor& editor, const QTextCharFormat& format) {
    editor.Restyle([&] { editor.mergeCurrentCharFormat(format); });
}

}  // namespace

std::string EditField::SelTextFont() const { return FromQt(Common(*editor_, &Styles::family)); }

void EditField::SelTextFont(const std::string& font) {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{ToQt(font)});
    Merge(*editor_, format);
}

std::int32_t EditField::SelTextSize() const {
    double points = StyleOf(LeadingFormat(*editor_)).size;
    if (points <= 0) points = OwnFont(*editor_->document()).pointSizeF();
    return RealToInt32(points);
}

void EditField::SelTextSize(std::int32_t points) {
    if (points <= 0) return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    Merge(*editor_, format);
}

Color EditField::SelTextColor() const { return StyleOf(LeadingFormat(*editor_)).color.value_or(textColor_); }

void EditField::SelTextColor(Color color) {
    QTextCharFormat format;
    format.setForeground(ToQt(color));
    Merge(*editor_, format);
}

bool EditField::SelBold() const { return Common(*editor_, &Styles::bold); }
void EditField::SelBold(bool on) {
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    Merge(*editor_, format);
}

bool EditField::SelItalic() const { return Common(*editor_, &Styles::italic); }
void EditField::SelItalic(bool on) {
    QTextCharFormat format;
    format.setFontItalic(on);
    Merge(*editor_, format);
}

bool EditField::SelUnderline() const { return Common(*editor_, &Styles::underline); }
void EditField::SelUnderline(bool on) {
    QTextCharFormat format;
    format.setFontUnderline(on);
    Merge(*editor_, format);
}

void EditField::ToggleSelectionBold() { SelBold(!SelBold()); }
void EditField::ToggleSelectionItalic() { SelItalic(!SelItalic()); }
void EditField::ToggleSelectionUnderline() { SelUnderline(!SelUnderline()); }

}  // namespace fw
