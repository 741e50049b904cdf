// What each control word does to the parser's state, by kind of word.
#include "framework/text/RtfParser.h"

#include <algorithm>

namespace fw::rtf {

namespace {

int UnicodeSkip(const Control& control) {
    return std::clamp(control.hasParameter ? control.parameter : 1, 0, kMaxUnicodeSkip);
}

int FontSize(const Control& control) {
    return control.hasParameter && control.parameter > 0 ? std::min(control.parameter, kMaxFontSizeHalfPoints) : 24;
}

}  // namespace

void Parser::Execute(const WordInfo& info, const Control& control) {
    GroupState& state = State();
    if (state.destination == Destination::Drop) {
        switch (info.word) {
        case Word::Ud:
        case Word::Result: state.destination = state.revived; break;
        case Word::SkipDestination: SkipGroup(); break;
        case Word::Bin: SkipBinary(control.parameter); break;
        case Word::Uc: state.unicodeSkip = UnicodeSkip(control); break;
        default: break;
        }
        return;
    }
    switch (KindOf(info.word)) {
    case WordKind::Document: DocumentWord(info, control); break;
    case WordKind::Destination: DestinationWord(info, control); break;
    case WordKind::Table: TableWord(info); break;
    case WordKind::Paragraph: ParagraphWord(info); break;
    case WordKind::Character: CharacterWord(info, control); break;
    }
}

void Parser::DocumentWord(const WordInfo& info, const Control& control) {
    const int param = control.parameter;
    switch (info.word) {
    case Word::Ansi: documentCodePage_ = kWindows1252; break;
    case Word::Mac: documentCodePage_ = kMacRoman; break;
    case Word::Pc: documentCodePage_ = 437; break;
    case Word::Pca: documentCodePage_ = 850; break;
    case Word::AnsiCpg:
        if (param > 0) documentCodePage_ = param;
        break;
    case Word::Deff: defaultFont_ = param; break;
    case Word::Uc: State().unicodeSkip = UnicodeSkip(control); break;
    case Word::U:
        if (!control.hasParameter) break;
        if (param < -32768 || param > 65535) {
            EmitCodePoint(kReplacement);
        } else {
            EmitEscapedUnit(static_cast<char32_t>(param < 0 ? param + 65536 : param));
        }
        skipUnits_ = State().unicodeSkip;
        break;
    case Word::Bin: SkipBinary(param); break;
    case Word::EndnotesArabic: endnotesArabic_ = true; break;
    default: break;
    }
}

void Parser::DestinationWord(const WordInfo& info, const Control& control) {
    GroupState& state = State();
    const int param = control.parameter;
    switch (info.word) {
    case Word::FontTable: state.destination = Destination::FontTable; break;
    case Word::ColorTable:
        if (colorTableRead_) {
            SkipGroup();
        } else {
            colorTableRead_ = true;
            state.destination = Destination::ColorTable;
            colorGiven_ = false;
            red_ = green_ = blue_ = 0;
        }
        break;
    case Word::Upr:
    case Word::Object:
        state.revived = state.destination;
        state.destination = Destination::Drop;
        break;
    case Word::SkipDestination: SkipGroup(); break;
    case Word::Note:
        // Notes inside notes, headers and the like are left out.
        if (state.destination == Destination::Text && noteDepth_ == 0) {
            BeginNote();
        } else {
            SkipGroup();
        }
        break;
    case Word::Endnote: MakeEndnote(); break;
    case Word::Field:
        if (state.destination == Destination::Text && fieldDepth_ == 0) BeginField();
        break;
    case Word::FieldInstruction:
        if (state.destination == Destination::Text && fieldDepth_ != 0) {
            state.destination = Destination::FieldInstruction;
        } else {
            SkipGroup();
        }
        break;
    case Word::ListLabel: state.listLabel = true; break;
    case Word::FontCharset:
        if (state.destination == Destination::FontTable) fontEntry_.charset = param;
        break;
    case Word::CodePage:
        if (state.destination == Destination::FontTable) fontEntry_.codePage = param;
        break;
    case Word::Red:
    case Word::Green:
    case Word::Blue:
        if (state.destination == Destination::ColorTable) {
            const int value = std::clamp(param, 0, 255);
            (info.word == Word::Red ? red_ : info.word == Word::Green ? green_ : blue_) = value;
            colorGiven_ = true;
        }
        break;
    default: break;  // \ud and \result read on in the group they stand in
    }
}

void Parser::TableWord(const WordInfo& info) {
    GroupState& state = State();
    if (info.word == Word::InTable) state.inTable = true;
    if (state.destination != Destination::Text) return;
    switch (info.word) {
    case Word::Cell:
    case Word::NestCell:
        FlushHighSurrogate();
        pendingLineBreak_ = false;
        ++pendingTabs_;
        break;
    case Word::Row: EndParagraph(); break;
    case Word::NestRow:
        // A nested table's row is a line of its cell in the outer row.
        pendingTabs_ = 0;
        pendingLineBreak_ = true;
        break;
    default: break;
    }
}

void Parser::ParagraphWord(const WordInfo& info) {
    GroupState& state = State();
    switch (info.word) {
    case Word::Par:
        if (state.destination != Destination::Text) break;
        if (state.inTable) {
            FlushHighSurrogate();
            pendingLineBreak_ = true;
        } else {
            EndParagraph();
        }
        break;
    case Word::Sect:
        if (state.destination == Destination::Text && !paragraph_.runs.empty()) EndParagraph();
        break;
    case Word::Pard:
        state.alignment = Alignment::Default;
        state.inTable = false;
        break;
    case Word::AlignLeft: state.alignment = Alignment::Left; break;
    case Word::AlignJustify: state.alignment = Alignment::Justify; break;
    case Word::AlignCenter: state.alignment = Alignment::Center; break;
    case Word::AlignRight: state.alignment = Alignment::Right; break;
    default: break;
    }
}

void Parser::CharacterWord(const WordInfo& info, const Control& control) {
    GroupState& state = State();
    const int param = control.parameter;
    const bool on = !control.hasParameter || param != 0;
    switch (info.word) {
    case Word::Font:
        if (state.destination == Destination::FontTable) {
            StartFontEntry(param);
            return;
        }
        state.font = std::max(param, 0);
        break;
    case Word::Plain:
        state.font = -1;
        state.fontSizeHalfPoints = 24;
        state.bold = state.italic = state.underline = false;
        state.color = -1;
        state.runKind = RunKind::Latin;
        state.rightToLeft = AssociatedFormat{};
        break;
    case Word::Bold: state.bold = on; break;
    case Word::Italic: state.italic = on; break;
    case Word::DoubleByteRun:
    case Word::LatinRun:
    case Word::RightToLeftRun: {
        const RunKind kind = info.word == Word::DoubleByteRun ? RunKind::DoubleByte
            : info.word == Word::LatinRun                     ? RunKind::Latin
                                                              : RunKind::RightToLeft;
        // Only right-to-left runs take another format.
        const bool restyled = (kind == RunKind::RightToLeft) != (state.runKind == RunKind::RightToLeft);
        state.runKind = kind;
        if (!restyled) return;
        break;
    }
    case Word::AssocFont:
        if (state.runKind != RunKind::RightToLeft) return;
        state.rightToLeft.font = std::max(param, 0);
        break;
    case Word::AssocBold:
    case Word::AssocItalic:
        if (state.runKind == RunKind::Latin) return;
        if (state.runKind == RunKind::RightToLeft) {
            (info.word == Word::AssocBold ? state.rightToLeft.bold : state.rightToLeft.italic) = on;
        } else {
            (info.word == Word::AssocBold ? state.bold : state.italic) = on;
        }
        break;
    case Word::Underline: state.underline = on; break;
    case Word::UnderlineNone: state.underline = false; break;
    case Word::AssocFontSize:
        if (state.runKind == RunKind::Latin) return;
        (state.runKind == RunKind::RightToLeft ? state.rightToLeft.fontSizeHalfPoints : state.fontSizeHalfPoints) =
            FontSize(control);
        break;
    case Word::FontSize: state.fontSizeHalfPoints = FontSize(control); break;
    case Word::NoteNumber: NoteNumber(); return;
    case Word::ColorFore: state.color = std::max(control.hasParameter ? param : 0, 0); break;
    case Word::Character: EmitCodePoint(info.character); return;
    default: return;
    }
    styleDirty_ = true;
}

}  // namespace fw::rtf
