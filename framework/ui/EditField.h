#pragma once

#include "framework/text/Color.h"
#include "framework/text/StyledText.h"
#include "framework/ui/StyledTextPrinter.h"
#include "framework/ui/TextStyleControl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace fw {

// A text field: styled or plain, multi-line or single-line. In Text and
// SelText a line break is CR; setting accepts CR, LF and CRLF. Positions and
// lengths count code points. Every change of the text raises TextChange
// before the call that made it returns; setting Text raises it exactly once.
// Setting a style of the selection (SelBold, SelTextFont, SelAlignment and the
// others) changes no text and raises StyleChange instead, once, when the
// document's formats changed (not for the style of text still to be typed).
// Events: TextChange, StyleChange, SelChange, EnableMenuItems, MouseDown
// (before the field handles the press; true keeps the press from the field),
// ConstructContextualMenu, Open.
class EditField : public TextStyleControl {
public:
    struct Editor;
    EditField(Window& window);
    ~EditField() override;

    const PropertyTable& Properties() const override;

    std::string Text() const;
    // Replaces only what differs: the longest common beginning and end keep
    // their characters and styles; the new middle takes the style of the
    // character before it.
    void Text(const std::string& text);
    // The sum of measure over the paragraphs of the text (each without its
    // line break). A paragraph's measure is kept until the paragraph changes,
    // so a long document costs little more than its changed paragraphs. For
    // counts of things that never span a line break, such as words, the sum
    // is the count over the whole text.
    long SumOverParagraphs(long (*measure)(std::string_view)) const;

    std::string SelText() const;
    // Replaces the selection; the caret is then at the end of the new text.
    // Text of as many characters as the selection gives each character the
    // format of the one it replaces (a bold word upper-cased stays bold);
    // other text takes the format of the selection's first character.
    void SelText(const std::string& text);
    // The selection with its styles: one paragraph for each paragraph it
    // touches, the first and the last perhaps in part; text in the field's
    // own font has no font or size of its own.
    StyledText SelStyledText() const;
    // Replaces the selection with the styled text, each run in its own style;
    // the caret is then at its end. Paragraphs keep their alignment in order:
    // the text's first paragraph takes the alignment of the selection's
    // first, and so on; any beyond take that of the selection's last.
    void SelStyledText(const StyledText& text);
    long SelStart() const;
    void SelStart(long start);
    long SelLength() const;
    void SelLength(long length);

    // The whole document with its styles; text in the field's own font has
    // that font's name and size.
    StyledText GetStyledText() const;
    void SetStyledText(const StyledText& text);
    // The styled text as the field shows it, laid out width points wide for
    // the page graphics, which must outlive the printer.
    std::unique_ptr<fw::StyledTextPrinter> StyledTextPrinter(Graphics& graphics, int width) const;

    // The selection's style. At an insertion point each member reads the
    // format that text typed there would take. Over a selection, SelBold,
    // SelItalic and SelUnderline are true only when every selected character
    // has the style; SelTextSize and SelTextColor are those of the first
    // selected character; SelTextFont is the font's name when every selected
    // character has the same font, else "". Text with no font, size or
    // colour of its own has the field's. Setting a member applies it to the
    // whole selection, or at an insertion point to what is typed next.
    std::string SelTextFont() const;
    void SelTextFont(const std::string& font);
    // Whole points: a fractional size reads as RealToInt32 rounds it, to the
    // nearest whole point, halves away from zero (10.5 reads 11), while the
    // text keeps its own size until a size is set.
    std::int32_t SelTextSize() const;
    void SelTextSize(std::int32_t points);
    Color SelTextColor() const;
    void SelTextColor(Color color);
    bool SelBold() const;
    void SelBold(bool on);
    bool SelItalic() const;
    void SelItalic(bool on);
    bool SelUnderline() const;
    void SelUnderline(bool on);
    // 0 default, 1 left, 2 centre, 3 right, 4 justified: the paragraphs of the selection.
    int SelAlignment() const;
    void SelAlignment(int alignment);
    // Gives the whole selection the style when any selected character lacks
    // it, else takes it from the whole selection.
    void ToggleSelectionBold();
    void ToggleSelectionItalic();
    void ToggleSelectionUnderline();

    bool Multiline() const { return multiline_; }
    void Multiline(bool on);
    bool Styled() const { return styled_; }
    void Styled(bool on);
    bool Border() const { return border_; }
    void Border(bool on);
    bool ScrollbarVertical() const { return scrollVertical_; }
    void ScrollbarVertical(bool on);
    bool ScrollbarHorizontal() const { return scrollHorizontal_; }
    void ScrollbarHorizontal(bool on);
    bool ReadOnly() const { return readOnly_; }
    void ReadOnly(bool on);
    bool AcceptTabs() const { return acceptTabs_; }
    void AcceptTabs(bool on);
    Color TextColor() const { return textColor_; }
    void TextColor(Color color);
    Color BackColor() const { return backColor_; }
    void BackColor(Color color);

    // The actions the field carries out itself for the editing menu items.
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void SelectAll();
    bool CanCut() const;
    bool CanPaste() const;
    bool HasSelection() const;

    // Raises TextChange once; the editor calls it for each change of the text.
    void RaiseTextChange() {
        ++textRevision_;
        RaisePlain("TextChange");
    }
    // Moves at every TextChange: while it stays, the text has not changed.
    unsigned long TextRevision() const { return textRevision_; }
    void RaiseStyleChange() { RaisePlain("StyleChange"); }
    void RaiseSelChange() { RaisePlain("SelChange"); }
    void RaiseEnableMenuItems() { RaisePlain("EnableMenuItems"); }
    bool RaiseMouseDown(int x, int y) { return RaiseMouse("MouseDown", x, y); }
    // Fills base through ConstructContextualMenu; false when nothing is bound.
    bool RaiseContextualMenu(MenuItem& base, int x, int y);

    Editor& Edit() const { return *editor_; }

protected:
    bool Accepts(std::string_view event, const EventHandler& handler) const override;

private:
    void ApplyLook();

    Editor* editor_;
    Color textColor_ = Color::FromRGB(0x000000);
    Color backColor_ = Color::FromRGB(0xFFFFFF);
    bool multiline_ = false, styled_ = false, border_ = true;
    bool scrollVertical_ = true, scrollHorizontal_ = false;
    bool readOnly_ = false, acceptTabs_ = false;
    unsigned long textRevision_ = 0;
};

}  // namespace fw
