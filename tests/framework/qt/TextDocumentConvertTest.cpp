#include "tests/support/StyledTextPrinting.h"
#include "framework/qt/TextDocumentConvert.h"

#include "framework/text/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QByteArray>
#include <QFont>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace fw {

namespace {

constexpr Color kRed{255, 0, 0};

CharStyle Styled(std::string font, double size, bool bold = false, bool italic = false,
                 bool underline = false, std::optional<Color> color = std::nullopt) {
    return CharStyle{std::move(font), size, bold, italic, underline, color};
}

StyledParagraph Paragraph(std::vector<StyledRun> runs, Alignment alignment = Alignment::Default) {
    return StyledParagraph{alignment, std::move(runs)};
}

class TextDocumentConvert : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "framework_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }

    static StyledText RoundTrip(const StyledText& text) {
        QTextDocument doc;
        SetDocumentStyledText(doc, text);
        return DocumentStyledText(doc);
    }

    // The fragment format at a character position (1-based inside the block).
    static QTextCharFormat FormatAt(const QTextDocument& doc, int block, int position) {
        QTextCursor cursor(doc.findBlockByNumber(block));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, position);
        return cursor.charFormat();
    }
};

TEST_F(TextDocumentConvert, RoundTripsNormalisedText) {
    std::vector<StyledText> cases = {
        {},
        {{Paragraph({{"Hello", {}}})}},
        {{Paragraph({{"a", {}}}), Paragraph({}), Paragraph({{"c", {}}})}},
        {{Paragraph({}), Paragraph({})}},
        {{Paragraph({}, Alignment::Center)}},
        {{Paragraph({{"left", {}}}, Alignment::Left), Paragraph({{"mid", {}}}, Alignment::Center),
          Paragraph({{"right", {}}}, Alignment::Right), Paragraph({{"none", {}}}, Alignment::Default)}},
        {{Paragraph({{"plain ", {}},
                     {"arial", Styled("Arial", 0)},
                     {"sized", Styled("", 10.5)},
                     {"bold", Styled("", 0, true)},
                     {"italic", Styled("", 0, false, true)},
                     {"under", Styled("", 0, false, false, true)},
                     {"red", Styled("", 0, false, false, false, kRed)},
                     {"black", Styled("", 0, false, false, false, Color{0, 0, 0})},
                     {"all", Styled("Liberation Serif", 18, true, true, true, Color{1, 2, 3})}})}},
        {{Paragraph({{"tab\there", {}}, {"line\u2028break", Styled("Mono", 9)}})}},
        {{Paragraph({{"caf\u00E9 \u4E2D\u6587 \U0001F600 \u00A0\u00AD", Styled("Font \u00FC", 12)}})}},
        ReadRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
                "\\pard\\qc Plain {\\b bold} {\\i\\cf1 red}\\par\\pard\\par\\qr\\f1\\fs18 mono\\tab x\\line y\\u8364?\\par}"),
        {},
    };
    for (int p = 0; p < 500; ++p) {
        StyledParagraph& paragraph = cases.back().paragraphs.emplace_back();
        paragraph.alignment = static_cast<Alignment>(p % 4);
        for (int r = 0; r < 12; ++r)
            paragraph.runs.push_back({"word" + std::to_string(r) + " ", Styled(r % 3 ? "Arial" : "", 9 + r % 4, r % 2 == 1)});
    }
    for (const StyledText& text : cases) EXPECT_EQ(RoundTrip(text), text);
}

TEST_F(TextDocumentConvert, NormalisesEmptyRunsEqualNeighboursAndALoneEmptyParagraph) {
    const StyledText input{{Paragraph({{"", Styled("X", 9)},
                                       {"a", Styled("Arial", 12, true)},
                                       {"b", Styled("Arial", 12, true)},
                                       {"", {}},
                                       {"c", Styled("Arial", 12)}})}};
    const StyledText expected{{Paragraph({{"ab", Styled("Arial", 12, true)}, {"c", Styled("Arial", 12)}})}};
    EXPECT_EQ(RoundTrip(input), expected);

    EXPECT_EQ(RoundTrip(StyledText{{Paragraph({})}}), StyledText{});
    EXPECT_EQ(RoundTrip(StyledText{{Paragraph({{"", {}}})}}), StyledText{});
}

// Paragraph breaks inside a run become line breaks; empty text leaves one
// empty block, as an empty document has.
TEST_F(TextDocumentConvert, BuildsOneBlockPerParagraph) {
    QTextDocument doc;
    SetDocumentStyledText(doc, StyledText{{Paragraph({{"one", {}}, {" two", Styled("", 0, true)}}), Paragraph({}),
                                            Paragraph({{"x\ty\nz\rw\u2029v", {}}}, Alignment::Right)}});
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.findBlockByNumber(0).text(), QString("one two"));
    EXPECT_EQ(doc.findBlockByNumber(1).text(), QString());
    EXPECT_EQ(doc.findBlockByNumber(2).text(), QString::fromUtf16(u"x\ty\u2028z\u2028w\u2028v"));
    EXPECT_EQ(DocumentStyledText(doc).paragraphs[2].runs, (std::vector<StyledRun>{{"x\ty\u2028z\u2028w\u2028v", {}}}));

    SetDocumentStyledText(doc, StyledText{});
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(doc.blockCount(), 1);
}

TEST_F(TextDocumentConvert, SetsOnlyTheFormatPropertiesTheStyleStates) {
    QTextDocument doc;
    SetDocumentStyledText(doc, StyledText{{Paragraph({{"ab", {}}, {"cd", Styled("Arial", 10.5, true, true, true, kRed)}})}});

    const QTextCharFormat plain = FormatAt(doc, 0, 1);
    for (const int property : {QTextFormat::FontFamilies, QTextFormat::FontFamily, QTextFormat::FontPointSize,
                               QTextFormat::FontWeight, QTextFormat::FontItalic, QTextFormat::TextUnderlineStyle,
                               QTextFormat::ForegroundBrush})
        EXPECT_FALSE(plain.hasProperty(property)) << property;

    const QTextCharFormat styled = FormatAt(doc, 0, 3);
    EXPECT_EQ(styled.property(QTextFormat::FontFamilies).toStringList(), QStringList{"Arial"});
    EXPECT_EQ(styled.fontPointSize(), 10.5);
    EXPECT_EQ(styled.fontWeight(), QFont::Bold);
    EXPECT_TRUE(styled.fontItalic());
    EXPECT_TRUE(styled.fontUnderline());
    EXPECT_EQ(styled.foreground().color(), QColor(255, 0, 0));

    // The default alignment leaves the block's alignment unset.
    SetDocumentStyledText(doc, StyledText{{Paragraph({{"a", {}}}), Paragraph({{"b", {}}}, Alignment::Center),
                                            Paragraph({{"c", {}}}, Alignment::Left)}});
    EXPECT_FALSE(doc.findBlockByNumber(0).blockFormat().hasProperty(QTextFormat::BlockAlignment));
    EXPECT_EQ(doc.findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

// A text field lays out a change lazily, visible part first, only when the
// change spans the whole document from an empty one; otherwise it lays out
// megabytes at once before the field shows anything.
TEST_F(TextDocumentConvert, ReportsTheNewContentAsOneChangeOfTheWholeDocument) {
    QTextDocument doc;
    doc.documentLayout();  // the document reports changes only once it has a layout
    doc.setPlainText("some earlier text\nin two blocks");
    struct Change { int from, removed, added; };
    std::vector<Change> changes;
    QObject::connect(&doc, &QTextDocument::contentsChange,
                     [&changes](int from, int removed, int added) { changes.push_back({from, removed, added}); });
    SetDocumentStyledText(doc, StyledText{{Paragraph({{"one", {}}, {"two", Styled("", 0, true)}}),
                                            Paragraph({{"three", {}}}, Alignment::Center)}});
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().from, 0);
    EXPECT_EQ(changes.back().removed, 0);
    EXPECT_EQ(changes.back().added, doc.characterCount());
}

TEST_F(TextDocumentConvert, ReplacesTheContentAndClearsTheUndoHistory) {
    QTextDocument doc;
    QTextCursor(&doc).insertText("typed by the user");
    ASSERT_TRUE(doc.isUndoAvailable());
    SetDocumentStyledText(doc, StyledText{{Paragraph({{"first", {}}}), Paragraph({{"second", {}}})}});
    SetDocumentStyledText(doc, StyledText{{Paragraph({{"only", Styled("", 20)}})}});
    EXPECT_EQ(doc.toPlainText(), QString("only"));
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(doc.isUndoRedoEnabled());

    // Editing afterwards is undoable again, back to the set text.
    QTextCursor cursor(&doc);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("!");
    EXPECT_TRUE(doc.isUndoAvailable());
    doc.undo();
    EXPECT_EQ(doc.toPlainText(), QString("only"));
}

TEST_F(TextDocumentConvert, ReadsFormatsThatQtItselfOrHtmlApplied) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat courier;
    courier.setFont(QFont("Courier", 14), QTextCharFormat::FontPropertiesSpecifiedOnly);
    cursor.insertText("mono", courier);
    QTextCharFormat heavy;
    heavy.setFontWeight(QFont::Black);
    cursor.insertText("heavy", heavy);
    QTextCharFormat light;
    light.setFontWeight(QFont::Light);
    cursor.insertText("light", light);
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(justified);
    cursor.insertText("justified");
    QTextBlockFormat trailing;
    trailing.setAlignment(Qt::AlignTrailing | Qt::AlignAbsolute);
    cursor.insertBlock(trailing);
    cursor.insertText("end");

    const StyledText text = DocumentStyledText(doc);
    ASSERT_EQ(text.paragraphs.size(), 3u);
    // Black is bold, light is not.
    EXPECT_EQ(text.paragraphs[0].runs, (std::vector<StyledRun>{{"mono", Styled("Courier", 14)},
                                                               {"heavy", Styled("", 0, true)}, {"light", {}}}));
    EXPECT_EQ(text.paragraphs[1].alignment, Alignment::Left);
    EXPECT_EQ(text.paragraphs[2].alignment, Alignment::Right);

    doc.setHtml("<p>a<b>b</b><i>c</i><u>d</u><span style=\"color:#00ff00\">e</span></p>");
    EXPECT_EQ(DocumentStyledText(doc).paragraphs.at(0).runs,
              (std::vector<StyledRun>{{"a", {}}, {"b", Styled("", 0, true)}, {"c", Styled("", 0, false, true)},
                                      {"d", Styled("", 0, false, false, true)},
                                      {"e", Styled("", 0, false, false, false, Color{0, 255, 0})}}));
}

}  // namespace
}  // namespace fw
