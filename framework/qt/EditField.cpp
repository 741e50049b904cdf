#include "framework/ui/EditField.h"

#include "framework/menus/MenuItem.h"
#include "framework/qt/MenuRouting.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/RuntimeState.h"
#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/TextEditor.h"
#include "framework/qt/WindowFrame.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstring>

namespace fw {

namespace {

constexpr QChar kParagraph = QChar::ParagraphSeparator;

// The field's text as the program sees it: paragraphs, and line breaks
// inside them, end in CR. Done on the UTF-8 bytes, where both separators are
// three bytes beginning 0xE2 that a fast search finds.
std::string ToProgramText(const QString& raw) {
    QByteArray bytes = raw.toUtf8();
    char* out = bytes.data();
    const char* in = bytes.constData();
    const char* const end = in + bytes.size();
    while (const char* lead = static_cast<const char*>(std::memchr(in, '\xE2', static_cast<std::size_t>(end - in)))) {
        const auto kept = static_cast<std::size_t>(lead - in);
        std::memmove(out, in, kept);
        out += kept;
        const bool separator = end - lead >= 3 && lead[1] == '\x80' && (lead[2] == '\xA8' || lead[2] == '\xA9');
        *out++ = separator ? '\r' : *lead;
        in = lead + (separator ? 3 : 1);
    }
    std::memmove(out, in, static_cast<std::size_t>(end - in));
    out += end - in;
    return std::string(bytes.constData(), static_cast<std::size_t>(out - bytes.constData()));
}

// CRLF, LF and CR each become lineEnd.
QString WithLineEnds(QString text, QChar lineEnd) {
    text.replace(QStringLiteral("\r\n"), QString(lineEnd));
    text.replace(QChar('\r'), lineEnd);
    text.replace(QChar('\n'), lineEnd);
    return text;
}

// The program's text as the document holds it: CRLF, LF and CR each end a
// paragraph. Line feeds are rare in the program's texts, so the common case
// is one conversion and one replacement of a single character.
QString ToDocumentText(std::string_view text) {
    std::string normalised;
    if (text.find('\n') != std::string_view::npos) {
        normalised.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            normalised.push_back(text[i] == '\n' ? '\r' : text[i]);
        }
        text = normalised;
    }
    QString converted = ToQt(text);
    converted.replace(QChar('\r'), kParagraph);
    return converted;
}

// Code points before a position counted in UTF-16 units: the low half of a
// surrogate pair adds none.
long CodePointsBefore(const QString& text, qsizetype units) {
    long count = 0;
    for (qsizetype i = 0; i < units && i < text.size(); ++i)
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++count;
    return count;
}
// The UTF-16 position of a code-point position.
int UnitsFor(const QString& text, long codePoints) {
    qsizetype i = 0;
    for (long seen = 0; i < text.size() && seen < codePoints; ++seen)
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    return static_cast<int>(i);
}

// How many bytes a and b have in common from the start; compared a block at
// a time, since a field may hold megabytes that mostly agree.
std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    constexpr std::size_t kBlock = 512;
    const std::size_t length = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i + kBlock <= length && std::memcmp(a.data() + i, b.data() + i, kBlock) == 0) i += kBlock;
    while (i < length && a[i] == b[i]) ++i;
    return i;
}

// The same from the ends, at most length bytes.
std::size_t CommonSuffix(std::string_view a, std::string_view b, std::size_t length) {
    constexpr std::size_t kBlock = 512;
    std::size_t i = 0;
    while (i + kBlock <= length && std::memcmp(a.end() - i - kBlock, b.end() - i - kBlock, kBlock) == 0) i += kBlock;
    while (i < length && a[a.size() - 1 - i] == b[b.size() - 1 - i]) ++i;
    return i;
}

bool IsContinuation(char byte) { return utf8::IsContinuation(static_cast<unsigned char>(byte)); }

int Utf16Units(std::string_view text) { return static_cast<int>(utf8::Utf16Length(text)); }

}  // namespace

// The program keeps its own undo: the editor's would only cost memory.
EditField::Editor::Editor(EditField& owner) : field(owner) {
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    viewport()->installEventFilter(this);
    connect(document(), &QTextDocument::contentsChange, this, &Editor::ContentsChanged);
    connect(this, &QTextEdit::cursorPositionChanged, this, &Editor::SelectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, &Editor::SelectionMoved);
}

void EditField::Editor::Change(const std::function<void()>& change, bool raiseAlways) {
    ++changeDepth_;
    if (changeDepth_ == 1) changedInside_ = false;
    try {
        change();
    } catch (...) {
        --changeDepth_;
        throw;
    }
    if (--changeDepth_ > 0) return;
    if (changedInside_ || raiseAlways) Guarded([this] { field.RaiseTextChange(); });
    SelectionMoved();
}

void EditField::Editor::Restyle(const std::function<void()>& restyle) {
    restyling_ = true;
    restyledInside_ = false;
    restyle();
    restyling_ = false;
    if (restyledInside_) Guarded([this] { field.RaiseStyleChange(); });
}

namespace {

// A paragraph's text as the program sees it, kept with the paragraph until
// its text changes: reading a long document's text at every keystroke then
// converts only the paragraphs that changed.
struct ParagraphText : QTextBlockUserData {
    explicit ParagraphText(const QString& text)
        : utf8(ToProgramText(text)), codePoints(CodePointsBefore(text, text.size())) {}
    std::string utf8;
    long codePoints;
    long (*measuredBy)(std::string_view) = nullptr;
    long measure = 0;
};

ParagraphText& KeptTextOf(const QTextBlock& block) {
    auto* kept = static_cast<ParagraphText*>(block.userData());
    if (!kept) {
        kept = new ParagraphText(block.text());
        QTextBlock(block).setUserData(kept);
    }
    return *kept;
}

// Positions in code points and in the document's UTF-16 units, converted by
// walking the paragraphs with their kept counts, so that a position near the
// end of a long document costs little more than the paragraphs before it.
int DocumentPosition(const QTextDocument& document, long codePoints) {
    for (auto block = document.begin(); block.isValid(); block = block.next()) {
        const long inBlock = KeptTextOf(block).codePoints;
        if (codePoints <= inBlock) return block.position() + UnitsFor(block.text(), codePoints);
        codePoints -= inBlock + 1;
    }
    return document.characterCount() - 1;
}

long CodePointPosition(const QTextDocument& document, int units) {
    const QTextBlock holder = document.findBlock(units);
    long before = 0;
    for (auto block = document.begin(); block.isValid() && block != holder; block = block.next())
        before += KeptTextOf(block).codePoints + 1;
    return before + CodePointsBefore(holder.text(), units - holder.position());
}

const std::string& ProgramTextOf(const QTextBlock& block) { return KeptTextOf(block).utf8; }

}  // namespace

void EditField::Editor::ContentsChanged(int from, int removed, int added) {
    ++contentsGeneration;
    if (removed == 0 && added == 0) return;
    // Formats changed: the text stays as it was.
    if (restyling_) {
        restyledInside_ = true;
        return;
    }
    // Every paragraph the change reached forgets its kept text.
    for (auto block = document()->findBlock(from); block.isValid() && block.position() <= from + added;
         block = block.next())
        block.setUserData(nullptr);
    if (changeDepth_ > 0) {
        changedInside_ = true;
        return;
    }
    Guarded([this] { field.RaiseTextChange(); });
}

void EditField::Editor::SelectionMoved() {
    if (changeDepth_ > 0) return;
    const auto cursor = textCursor();
    if (cursor.selectionStart() == lastSelStart_ && cursor.selectionEnd() == lastSelEnd_) return;
    lastSelStart_ = cursor.selectionStart();
    lastSelEnd_ = cursor.selectionEnd();
    Guarded([this] { field.RaiseSelChange(); });
}

// Text pasted without the Paste command (Shift+Insert, the middle button's
// paste of the selection, a drop) takes the command's road: the window's
// handler runs first, so that what it keeps before a paste (the undo
// snapshot) is kept here too, then the field inserts the text.
void EditField::Editor::PasteByHand(const std::function<void()>& paste) {
    if (!isReadOnly()) Guarded([this] { RunMenuHandlers(&field.OwnerWindow(), "EditPaste"); });
    Change(paste);
}

void EditField::Editor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection())
        PasteByHand([&] { QTextEdit::mouseReleaseEvent(event); });
    else QTextEdit::mouseReleaseEvent(event);
}

void EditField::Editor::dropEvent(QDropEvent* event) {
    PasteByHand([&] { QTextEdit::dropEvent(event); });
}

void EditField::Editor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteByHand([&] { QTextEdit::keyPressEvent(event); });
        return;
    }
    const bool lineEnd = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Alt and Meta make commands, never text: a key with them that no menu
    // took goes on to the window instead of typing its letter.
    const bool commandKey = event->modifiers() & (Qt::AltModifier | Qt::MetaModifier);
    if (commandKey || (singleLine && lineEnd) ||
        (!acceptTabs && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab))) {
        event->ignore();
        return;
    }
    Change([&] { QTextEdit::keyPressEvent(event); });
}

void EditField::Editor::inputMethodEvent(QInputMethodEvent* event) {
    Change([&] { QTextEdit::inputMethodEvent(event); });
}

void EditField::Editor::contextMenuEvent(QContextMenuEvent* event) {
    MenuItem base;
    // The event comes from the viewport; the program counts from the field's corner.
    const auto position = viewport()->mapTo(this, event->pos());
    bool bound = false;
    Guarded([&] { bound = field.RaiseContextualMenu(base, position.x(), position.y()); });
    if (bound && base.Count() > 0) ShowContextMenu(base, event->globalPos());
    event->accept();
}

bool EditField::Editor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        bool taken = false;
        const auto at = viewport()->mapTo(this, press->position().toPoint());
        Guarded([&] { taken = field.RaiseMouseDown(at.x(), at.y()); });
        return taken;
    }
    return QTextEdit::eventFilter(watched, event);
}

// Pasted and dropped text arrives plain; it takes the style at the insertion point.
bool EditField::Editor::canInsertFromMimeData(const QMimeData* source) const { return source->hasText(); }

void EditField::Editor::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText() || isReadOnly()) return;
    // A single-line field keeps one line: every kind of line end becomes a blank.
    QString text = WithLineEnds(source->text(), singleLine ? QChar(' ') : kParagraph);
    if (singleLine) {
        text.replace(kParagraph, QChar(' '));
        text.replace(QChar::LineSeparator, QChar(' '));
    }
    Change([&] { textCursor().insertText(text); });
}

EditField::EditField(Window& window) : TextStyleControl(window, std::make_unique<Widget>(new Editor(*this))) {
    editor_ = static_cast<Editor*>(View().view.data());
    ApplyLook();
}

EditField::~EditField() = default;

const PropertyTable& EditField::Properties() const {
    static const PropertyTable table(
        {
            Prop("Border", &EditField::Border, &EditField::Border),
            Prop("Multiline", &EditField::Multiline, &EditField::Multiline),
            Prop("ScrollbarHorizontal", &EditField::ScrollbarHorizontal, &EditField::ScrollbarHorizontal),
            Prop("ScrollbarVertical", &EditField::ScrollbarVertical, &EditField::ScrollbarVertical),
            Prop("Styled", &EditField::Styled, &EditField::Styled),
            StoredProp("Password", false),
            StoredProp("UseFocusRing", true),
            Prop("TextColor", &EditField::TextColor, &EditField::TextColor),
            Prop("BackColor", &EditField::BackColor, &EditField::BackColor),
            StoredProp("Format", std::string()),
            Prop("Text", &EditField::Text, &EditField::Text),
            StoredProp("Mask", std::string()),
            Prop("ReadOnly", &EditField::ReadOnly, &EditField::ReadOnly),
            StoredProp("LimitText", std::int32_t{0}),
            Prop("AcceptTabs", &EditField::AcceptTabs, &EditField::AcceptTabs),
            StoredProp("Alignment", std::int32_t{0}),
            StoredProp("DataSource", std::string()),
            StoredProp("DataField", std::string()),
        },
        &FontProperties());
    return table;
}

void EditField::ApplyLook() {
    auto& e = *editor_;
    e.singleLine = !multiline_;
    e.acceptTabs = acceptTabs_;
    e.setTabChangesFocus(!acceptTabs_);
    e.setLineWrapMode(multiline_ ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    e.setVerticalScrollBarPolicy(multiline_ && scrollVertical_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    e.setHorizontalScrollBarPolicy(multiline_ && scrollHorizontal_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    e.setFrameShape(border_ ? QFrame::StyledPanel : QFrame::NoFrame);
    e.setReadOnly(readOnly_);
    QPalette palette = e.palette();
    palette.setColor(QPalette::Text, ToQt(textColor_));
    palette.setColor(QPalette::Base, ToQt(backColor_));
    e.setPalette(palette);
}

void EditField::Multiline(bool on) {
    multiline_ = on;
    ApplyLook();
}
void EditField::Styled(bool on) {
    styled_ = on;
    ApplyLook();
}
void EditField::Border(bool on) {
    border_ = on;
    ApplyLook();
}
void EditField::ScrollbarVertical(bool on) {
    scrollVertical_ = on;
    ApplyLook();
}
void EditField::ScrollbarHorizontal(bool on) {
    scrollHorizontal_ = on;
    ApplyLook();
}
void EditField::ReadOnly(bool on) {
    readOnly_ = on;
    ApplyLook();
}
void EditField::AcceptTabs(bool on) {
    acceptTabs_ = on;
    ApplyLook();
}
void EditField::TextColor(Color color) {
    textColor_ = color;
    ApplyLook();
}
void EditField::BackColor(Color color) {
    backColor_ = color;
    ApplyLook();
}

std::string EditField::Text() const {
    std::string text;
    const auto* document = editor_->document();
    text.reserve(static_cast<std::size_t>(document->characterCount()));
    for (auto block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin()) text += '\r';
        text += ProgramTextOf(block);
    }
    return text;
}

long EditField::SumOverParagraphs(long (*measure)(std::string_view)) const {
    long sum = 0;
    for (auto block = editor_->document()->begin(); block.isValid(); block = block.next()) {
        auto& kept = KeptTextOf(block);
        if (kept.measuredBy != measure) {
            kept.measure = measure(kept.utf8);
            kept.measuredBy = measure;
        }
        sum += kept.measure;
    }
    return sum;
}

// The difference is found on the program's text, which the field keeps per
// paragraph, so that a long document is neither copied nor converted whole.
void EditField::Text(const std::string& text) {
    std::string normalised;
    std::string_view wanted = text;
    if (wanted.find('\n') != std::string_view::npos) {
        normalised = FromQt(ToDocumentText(text).replace(kParagraph, QChar('\r')));
        wanted = normalised;
    }
    const std::string current = Text();
    std::size_t prefix = CommonPrefix(current, wanted);
    // Neither end may split a character.
    while (prefix > 0 && prefix < current.size() && IsContinuation(current[prefix])) --prefix;
    std::size_t suffix = CommonSuffix(current, wanted, std::min(current.size(), wanted.size()) - prefix);
    while (suffix > 0 && IsContinuation(current[current.size() - suffix])) --suffix;
    editor_->Change(
        [&] {
            if (prefix == current.size() && prefix == wanted.size()) return;
            const std::string_view head(current.data(), prefix);
            const std::string_view replaced(current.data() + prefix, current.size() - suffix - prefix);
            QTextCursor cursor(editor_->document());
            cursor.setPosition(Utf16Units(head));
            const auto style = cursor.charFormat();
            cursor.setPosition(cursor.position() + Utf16Units(replaced), QTextCursor::KeepAnchor);
            cursor.insertText(ToDocumentText(wanted.substr(prefix, wanted.size() - suffix - prefix)), style);
        },
        true);
}

std::string EditField::SelText() const { return ToProgramText(editor_->textCursor().selectedText()); }

void EditField::SelText(const std::string& text) {
    editor_->Change([&] { editor_->ReplaceSelection(ToDocumentText(text)); }, true);
}

StyledText EditField::SelStyledText() const {
    const auto selection = editor_->textCursor();
    return DocumentStyledText(*editor_->document(), selection.selectionStart(), selection.selectionEnd());
}

void EditField::SelStyledText(const StyledText& text) {
    editor_->Change([&] { editor_->ReplaceSelection(text); }, true);
}

long EditField::SelStart() const {
    return CodePointPosition(*editor_->document(), editor_->textCursor().selectionStart());
}

void EditField::SelStart(long start) {
    auto cursor = editor_->textCursor();
    cursor.setPosition(DocumentPosition(*editor_->document(), std::max(0L, start)));
    editor_->setTextCursor(cursor);
}

long EditField::SelLength() const {
    const auto cursor = editor_->textCursor();
    const auto& document = *editor_->document();
    return CodePointPosition(document, cursor.selectionEnd()) - CodePointPosition(document, cursor.selectionStart());
}

void EditField::SelLength(long length) {
    const auto& document = *editor_->document();
    auto cursor = editor_->textCursor();
    const long start = CodePointPosition(document, cursor.selectionStart());
    cursor.setPosition(cursor.selectionStart());
    cursor.setPosition(DocumentPosition(document, start + std::max(0L, length)), QTextCursor::KeepAnchor);
    editor_->setTextCursor(cursor);
}

// Text in the field's own font is given that font by name and size, so that
// the document looks the same wherever it is opened.
StyledText EditField::GetStyledText() const {
    auto text = DocumentStyledText(*editor_->document());
    const QFontInfo own = OwnFont(*editor_->document());
    const std::string family = FromQt(own.family());
    const double size = own.pointSizeF();
    for (auto& paragraph : text.paragraphs)
        for (auto& run : paragraph.runs) {
            if (run.style.font.empty()) run.style.font = family;
            if (run.style.size <= 0 && size > 0) run.style.size = size;
        }
    return text;
}

// The caret goes to the start of the new text within the same edit, before
// the field lays anything out: the field lays out a document lazily, from
// the top, and a caret left at the end would make its next focus or repaint
// lay out the whole document at once. A vertical scroll bar that may appear
// is shown while the text goes in: appearing afterwards, it would narrow the
// page and have the field lay out what it had laid out again.
void EditField::SetStyledText(const StyledText& text) {
    auto& editor = *editor_;
    const auto scrollBar = editor.verticalScrollBarPolicy();
    if (scrollBar == Qt::ScrollBarAsNeeded) editor.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor.Change(
        [&] {
            QTextCursor edit(editor.document());
            edit.beginEditBlock();
            SetDocumentStyledText(*editor.document(), text);
            editor.setTextCursor(QTextCursor(editor.document()));
            edit.endEditBlock();
        },
        true);
    editor.setVerticalScrollBarPolicy(scrollBar);
}

int EditField::SelAlignment() const {
    const auto alignment = editor_->textCursor().blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (!editor_->textCursor().blockFormat().hasProperty(QTextFormat::BlockAlignment)) return 0;
    if (alignment & Qt::AlignHCenter) return 2;
    if (alignment & Qt::AlignRight) return 3;
    if (alignment & Qt::AlignJustify) return 4;
    if (alignment & Qt::AlignLeft) return 1;
    return 0;
}

void EditField::SelAlignment(int alignment) {
    static constexpr Qt::Alignment kAlignments[] = {Qt::Alignment(), Qt::AlignLeft | Qt::AlignAbsolute,
                                                    Qt::AlignHCenter, Qt::AlignRight | Qt::AlignAbsolute,
                                                    Qt::AlignJustify};
    if (alignment < 0 || alignment > 4) return;
    editor_->Restyle([&] {
        const auto selection = editor_->textCursor();
        QTextCursor each(editor_->document());
        each.setPosition(selection.selectionStart());
        // Every paragraph the selection touches; the default leaves a
        // paragraph without an alignment of its own.
        do {
            auto format = each.blockFormat();
            if (alignment == 0) format.clearProperty(QTextFormat::BlockAlignment);
            else format.setAlignment(kAlignments[alignment]);
            each.setBlockFormat(format);
        } while (each.block().position() + each.block().length() <= selection.selectionEnd() &&
                 each.movePosition(QTextCursor::NextBlock));
    });
}

// A read-only or disabled field's text changes only from the program.
void EditField::Cut() {
    if (CanCut()) editor_->Change([&] { editor_->cut(); });
}
void EditField::Copy() { editor_->copy(); }
void EditField::Paste() {
    if (!readOnly_ && Enabled()) editor_->Change([&] { editor_->paste(); });
}
void EditField::Clear() {
    if (CanCut()) editor_->Change([&] { editor_->textCursor().removeSelectedText(); });
}
void EditField::SelectAll() { editor_->selectAll(); }
bool EditField::HasSelection() const { return editor_->textCursor().hasSelection(); }
bool EditField::CanCut() const { return HasSelection() && !readOnly_ && Enabled(); }
bool EditField::CanPaste() const { return !readOnly_ && Enabled() && editor_->canPaste(); }

bool EditField::RaiseContextualMenu(MenuItem& base, int x, int y) {
    const auto* handler = HandlerFor("ConstructContextualMenu");
    if (!handler) return false;
    std::get<ContextMenuHandler> (*handler)(base, x, y);
    return true;
}

bool EditField::Accepts(std::string_view event, const EventHandler& handler) const {
    if (event == "TextChange" || event == "StyleChange" || event == "SelChange" || event == "EnableMenuItems")
        return std::holds_alternative<PlainHandler>(handler);
    if (event == "MouseDown") return std::holds_alternative<MouseHandler>(handler);
    if (event == "ConstructContextualMenu") return std::holds_alternative<ContextMenuHandler>(handler);
    return RectControl::Accepts(event, handler);
}

}  // namespace fw
