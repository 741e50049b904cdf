// Exchanges documents with LibreOffice Writer. Documents written by WriteRtf
// are converted by LibreOffice to plain text, whose characters must be ours,
// to RTF of its own, which ReadRtf must read back as the same runs, and to
// flat OpenDocument, where every run must have its font, size, weight and
// slant for Latin, East Asian and complex (right-to-left) scripts alike. The
// OpenDocument sources of the RTF fixtures go through the first two
// conversions too, so that ReadRtf is also measured against LibreOffice's own
// reading of them.
//
// LibreOffice starts once per conversion kind, for all documents at once; it
// runs headless with a private profile, so that neither the user's settings
// nor an instance already running take part.
#include "tests/support/StyledTextPrinting.h"
#include "framework/text/RtfReader.h"
#include "framework/text/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw {

namespace {

constexpr Color kRed{0xC0, 0x10, 0x20};
constexpr Color kNavy{0x00, 0x00, 0x80};
constexpr Color kGreen{0x00, 0x80, 0x40};
constexpr Color kBlack{0, 0, 0};

CharStyle Style(std::string font, double size, bool bold = false, bool italic = false, bool underline = false,
                std::optional<Color> color = std::nullopt) {
    return CharStyle{std::move(font), size, bold, italic, underline, color};
}

StyledParagraph Paragraph(Alignment alignment, std::vector<StyledRun> runs) {
    return StyledParagraph{alignment, std::move(runs)};
}

// The documents both programs must agree on, by file name.
std::map<std::string, StyledText> Documents() {
    std::map<std::string, StyledText> docs;

    docs["ours-formats"] = StyledText{{
        Paragraph(Alignment::Left,
                  {{"Plain ", Style("DejaVu Serif", 12)},
                   {"bold", Style("DejaVu Serif", 12, true)},
                   {" ", Style("DejaVu Serif", 12)},
                   {"italic", Style("DejaVu Serif", 12, false, true)},
                   {" ", Style("DejaVu Serif", 12)},
                   {"underlined", Style("DejaVu Serif", 12, false, false, true)},
                   {" all three", Style("DejaVu Serif", 12, true, true, true)}}),
        Paragraph(Alignment::Center,
                  {{"Sans 18 red", Style("DejaVu Sans", 18, false, false, false, kRed)},
                   {" mono 9 navy", Style("DejaVu Sans Mono", 9, true, false, false, kNavy)},
                   {" serif 10.5 green", Style("DejaVu Serif", 10.5, false, true, false, kGreen)},
                   {" black 36", Style("DejaVu Sans", 36, false, false, true, kBlack)}}),
        Paragraph(Alignment::Right, {{"Right aligned, 14 pt", Style("DejaVu Sans", 14)}}),
        Paragraph(Alignment::Default, {}),
        Paragraph(Alignment::Left, {{"After an empty paragraph", Style("DejaVu Sans", 11)}}),
        Paragraph(Alignment::Default,
                  {{"In the default font and size, ", Style("", 0)},
                   {"bold", Style("", 0, true)},
                   {" and red", Style("", 0, false, false, false, kRed)}}),
    }};

    docs["ours-tabs"] = StyledText{{
        Paragraph(Alignment::Left, {{"Name\tSize\tColour", Style("DejaVu Sans", 12, true)}}),
        Paragraph(Alignment::Left,
                  {{"one\t", Style("DejaVu Sans", 12)},
                   {"12\t", Style("DejaVu Sans Mono", 10)},
                   {"red", Style("DejaVu Sans", 12, false, false, false, kRed)}}),
        Paragraph(Alignment::Left, {{"\tleading tab and trailing tab\t", Style("DejaVu Serif", 12)}}),
        Paragraph(Alignment::Left, {}),
        Paragraph(Alignment::Left, {}),
        Paragraph(Alignment::Center, {{"two empty paragraphs above", Style("DejaVu Serif", 12, false, true)}}),
    }};

    docs["ours-scripts"] = StyledText{{
        Paragraph(Alignment::Left,
                  {{"Cr\u00E8me br\u00FBl\u00E9e, \u0141\u00F3d\u017A, \u00C6sir, na\u00EFve fa\u00E7ade \u2013 "
                    "\u201Cquoted\u201D \u20AC 5",
                    Style("DejaVu Serif", 12)}}),
        Paragraph(Alignment::Left,
                  {{"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC: ", Style("DejaVu Sans", 12)},
                   {"\u03BA\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1", Style("DejaVu Sans", 12, true)},
                   {" \u03BA\u03CC\u03C3\u03BC\u03B5", Style("DejaVu Sans", 12)}}),
        Paragraph(Alignment::Left,
                  {{"\u0420\u0443\u0441\u0441\u043A\u0438\u0439: ", Style("DejaVu Sans", 12)},
                   {"\u0421\u044A\u0435\u0448\u044C \u0436\u0435 \u0435\u0449\u0451",
                    Style("DejaVu Sans", 12, false, true, false, kNavy)}}),
        Paragraph(Alignment::Center,
                  {{"\u65E5\u672C\u8A9E\u306E\u30C6\u30AD\u30B9\u30C8",
                    Style("Droid Sans Fallback", 14, true, false, false, kNavy)},
                   {", ", Style("Droid Sans Fallback", 14)},
                   {"\uD55C\uAD6D\uC5B4", Style("Droid Sans Fallback", 9, false, true, true)},
                   {", \u4E2D\u6587", Style("Droid Sans Fallback", 14)}}),
        Paragraph(Alignment::Left,
                  {{"Emoji \U0001F600 and \U0001F44D\U0001F3FD here", Style("DejaVu Sans", 12)}}),
        Paragraph(Alignment::Left,
                  {{"Line one\u2028line two in the same paragraph", Style("DejaVu Sans", 12)}}),
    }};

    // Hebrew and Arabic, whose font, size, weight and slant LibreOffice takes
    // from the associated words only, and East Asian text, whose font it
    // takes from the associated font after \dbch only.
    docs["ours-rtl-cjk"] = StyledText{{
        Paragraph(Alignment::Right,
                  {{"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD", Style("DejaVu Sans", 16, true, true)},
                   {" ", Style("DejaVu Sans", 10)},
                   {"\u05E2\u05D1\u05E8\u05D9\u05EA", Style("DejaVu Serif", 10.5, false, true, false, kNavy)},
                   {" ", Style("DejaVu Sans", 10)},
                   {"\u05DE\u05D5\u05D3\u05D2\u05E9", Style("DejaVu Sans Mono", 13, true, false, true)}}),
        Paragraph(Alignment::Right,
                  {{"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645",
                    Style("DejaVu Sans", 18, true, false, false, kGreen)},
                   {" 2024 ", Style("DejaVu Serif", 11)},
                   {"\u0627\u0644\u0639\u0631\u0628\u064A\u0629", Style("DejaVu Serif", 9, false, true)}}),
        Paragraph(Alignment::Left,
                  {{"Hebrew ", Style("DejaVu Serif", 12)},
                   {"\u05D0\u05D1\u05D2", Style("DejaVu Sans", 14, true)},
                   {", Arabic ", Style("DejaVu Serif", 12, false, false, true)},
                   {"\u0639\u0631\u0628\u064A", Style("DejaVu Sans Mono", 20, false, true)},
                   {" and Latin again", Style("DejaVu Serif", 12)}}),
        Paragraph(Alignment::Default,
                  {{"\u05D1\u05E8\u05D9\u05E8\u05EA \u05DE\u05D7\u05D3\u05DC", Style("", 15, true, true)},
                   {" \u0627\u0641\u062A\u0631\u0627\u0636\u064A", Style("", 0, false, true)}}),
        Paragraph(Alignment::Left,
                  {{"\u6F22\u5B57\u3068\u304B\u306A", Style("Droid Sans Fallback", 15, true)},
                   {"\u3001", Style("Droid Sans Fallback", 15)},
                   {"\uD55C\uAD6D\uC5B4", Style("Noto Sans CJK KR", 11, false, true, true, kRed)},
                   {" Latin ", Style("DejaVu Sans", 12)},
                   {"\u4E2D\u6587", Style("Noto Serif CJK SC", 8, true, true)}}),
    }};
    return docs;
}

// Paragraphs as lines, the way a plain-text export writes them.
std::string PlainText(const StyledText& doc) {
    std::string text;
    for (const StyledParagraph& paragraph : doc.paragraphs) {
        for (const StyledRun& run : paragraph.runs) text += run.text;
        text += '\n';
    }
    return text;
}

std::string ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

class LibreOfficeInterop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = new QTemporaryDir();
        ASSERT_TRUE(work_->isValid());
        const QDir dir(work_->path());
        dir.mkpath("in");
        QStringList inputs;
        for (const auto& [name, doc] : Documents()) {
            const QString path = dir.filePath("in/" + QString::fromStdString(name) + ".rtf");
            ASSERT_TRUE(WriteFile(path, WriteRtf(doc)));
            inputs << path;
        }
        const QDir fixtures(QString(PLUMORA_TEST_DATA) + "/rtf");
        for (const QString& name : fixtures.entryList({"*.fodt"}, QDir::Files)) inputs << fixtures.filePath(name);

        const QStringList ours = inputs.mid(0, static_cast<qsizetype>(Documents().size()));
        Convert("txt:Text", dir.filePath("txt"), inputs);
        Convert("rtf", dir.filePath("rtf"), inputs);
        Convert("fodt", dir.filePath("fodt"), ours);
    }

    static void TearDownTestSuite() {
        delete work_;
        work_ = nullptr;
    }

    // Converts every input in one run of LibreOffice; a failure shows in the
    // tests as a missing output file, with LibreOffice's own output here.
    static void Convert(const QString& filter, const QString& outDir, const QStringList& inputs) {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        ASSERT_FALSE(soffice.isEmpty()) << "soffice not found (Debian: libreoffice-writer-nogui)";
        QStringList arguments = {
            "-env:UserInstallation=" + QUrl::fromLocalFile(work_->filePath("profile")).toString(),
            "--headless", "--norestore", "--convert-to", filter, "--outdir", outDir};
        arguments << inputs;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(soffice, arguments);
        ASSERT_TRUE(process.waitForStarted(30000)) << "cannot start " << soffice.toStdString();
        const bool finished = process.waitForFinished(180000);
        if (!finished) process.kill();
        log_ += process.readAll().toStdString();
        ASSERT_TRUE(finished) << "LibreOffice did not finish: " << log_;
        EXPECT_EQ(process.exitCode(), 0) << log_;
    }

    // What LibreOffice wrote for the input of that name (without extension).
    static std::string Output(const char* kind, const std::string& name) {
        const QString path = QDir(work_->path()).filePath(QString(kind) + "/" + QString::fromStdString(name) + "." + kind);
        const std::string bytes = ReadFile(path);
        EXPECT_FALSE(bytes.empty()) << "LibreOffice wrote no " << path.toStdString() << "\n" << log_;
        return bytes;
    }

    static QTemporaryDir* work_;
    static std::string log_;
};

QTemporaryDir* LibreOfficeInterop::work_ = nullptr;
std::string LibreOfficeInterop::log_;

// LibreOffice's plain-text export: UTF-8 after a byte order mark, one line
// per paragraph, and a line break inside a paragraph as a line end too.
std::string FromLibreOfficeText(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    return text;
}

std::string WithLineBreaksAsLineEnds(std::string text) {
    for (std::size_t at = text.find("\u2028"); at != std::string::npos; at = text.find("\u2028", at)) {
        text.replace(at, 3, "\n");
    }
    return text;
}

TEST_F(LibreOfficeInterop, PlainTextExportHasOurCharacters) {
    for (const auto& [name, doc] : Documents()) {
        EXPECT_EQ(FromLibreOfficeText(Output("txt", name)), WithLineBreaksAsLineEnds(PlainText(doc))) << name;
    }
}

bool HasRightToLeftLetters(const std::string& text) {
    const QString s = QString::fromStdString(text);
    for (const char32_t c : s.toUcs4()) {
        const QChar::Direction direction = QChar::direction(c);
        if (direction == QChar::DirR || direction == QChar::DirAL) return true;
    }
    return false;
}

// What LibreOffice changes on the way through: a paragraph without an
// alignment of its own comes back left aligned (\ql); a run without a size
// comes back at 12 pt; and a run without a font, which WriteRtf gives the
// nameless font-table entry, comes back in a font named "0", LibreOffice's
// name for a font without a name (which, being installed nowhere, shows in
// the default font, as before).
StyledText AsLibreOfficeWritesIt(StyledText doc) {
    for (StyledParagraph& paragraph : doc.paragraphs) {
        if (paragraph.alignment == Alignment::Default) paragraph.alignment = Alignment::Left;
        for (StyledRun& run : paragraph.runs) {
            if (run.style.font.empty()) run.style.font = "0";
            if (run.style.size == 0) run.style.size = 12;
        }
    }
    return doc;
}

std::string TextOf(const StyledParagraph& paragraph) {
    std::string text;
    for (const StyledRun& run : paragraph.runs) text += run.text;
    return text;
}

// LibreOffice writes a Hebrew or Arabic run with its associated words only
// (\rtlch\af\afs\ab\ai), without its colour or underline, and ReadRtf takes
// the format from the plain words, so of paragraphs holding such text only
// the text and the alignment come back; the OpenDocument test below sees
// that LibreOffice read their format.
TEST_F(LibreOfficeInterop, ReadsLibreOfficesRtfOfOurDocumentsAsTheSameRuns) {
    for (const auto& [name, doc] : Documents()) {
        const StyledText back = ReadRtf(Output("rtf", name));
        const StyledText expected = AsLibreOfficeWritesIt(doc);
        ASSERT_EQ(back.paragraphs.size(), expected.paragraphs.size()) << name;
        for (std::size_t p = 0; p < expected.paragraphs.size(); ++p) {
            EXPECT_EQ(back.paragraphs[p].alignment, expected.paragraphs[p].alignment) << name << " paragraph " << p;
            if (HasRightToLeftLetters(TextOf(expected.paragraphs[p]))) {
                EXPECT_EQ(TextOf(back.paragraphs[p]), TextOf(expected.paragraphs[p])) << name << " paragraph " << p;
            } else {
                EXPECT_EQ(back.paragraphs[p].runs, expected.paragraphs[p].runs) << name << " paragraph " << p;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// LibreOffice's view of our documents, from its flat OpenDocument export.

// The text attributes (qualified name to value) in force for one character.
using TextProperties = std::map<QString, QString>;

struct OdfParagraph {
    QString text;
    std::vector<TextProperties> properties;  // one for each UTF-16 unit of text
};

// The paragraphs of a flat OpenDocument text with the attributes of each
// character: those of its span's automatic style over those of its
// paragraph's. Font names are resolved from the font-face declarations to
// the family they name.
std::vector<OdfParagraph> ReadOdfParagraphs(const std::string& xml) {
    std::map<QString, QString> families;
    std::map<QString, TextProperties> styles;
    std::vector<OdfParagraph> paragraphs;
    QString style;
    std::vector<TextProperties> spans;  // innermost last; the paragraph's first
    bool inParagraph = false;
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    auto append = [&](const QString& text) {
        if (!inParagraph || spans.empty()) return;
        paragraphs.back().text += text;
        paragraphs.back().properties.insert(paragraphs.back().properties.end(), text.size(), spans.back());
    };
    auto withStyle = [&](const QString& name) {
        TextProperties merged = spans.empty() ? TextProperties{} : spans.back();
        if (const auto it = styles.find(name); it != styles.end()) {
            for (const auto& [key, value] : it->second) merged[key] = value;
        }
        return merged;
    };
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        const QString name = reader.qualifiedName().toString();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (token == QXmlStreamReader::StartElement) {
            if (name == "style:font-face") {
                QString family = attributes.value("svg:font-family").toString();
                if (family.size() >= 2 && family.startsWith('\'') && family.endsWith('\'')) {
                    family = family.mid(1, family.size() - 2);
                }
                families[attributes.value("style:name").toString()] = family;
            } else if (name == "style:style") {
                style = attributes.value("style:name").toString();
            } else if (name == "style:text-properties" && !style.isEmpty()) {
                for (const QXmlStreamAttribute& attribute : attributes) {
                    QString value = attribute.value().toString();
                    if (attribute.qualifiedName().startsWith(QLatin1String("style:font-name"))) {
                        value = families.count(value) ? families[value] : value;
                    }
                    styles[style][attribute.qualifiedName().toString()] = value;
                }
            } else if (name == "text:p" || name == "text:h") {
                inParagraph = true;
                paragraphs.emplace_back();
                spans.assign(1, withStyle(attributes.value("text:style-name").toString()));
            } else if (name == "text:span") {
                spans.push_back(withStyle(attributes.value("text:style-name").toString()));
            } else if (name == "text:s") {
                const int count = attributes.hasAttribute("text:c") ? attributes.value("text:c").toInt() : 1;
                append(QString(count, ' '));
            } else if (name == "text:tab") {
                append("\t");
            } else if (name == "text:line-break") {
                append(QString(QChar(0x2028)));
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (name == "style:style") {
                style.clear();
            } else if (name == "text:p" || name == "text:h") {
                inParagraph = false;
                spans.clear();
            } else if (name == "text:span" && spans.size() > 1) {
                spans.pop_back();
            }
        } else if (token == QXmlStreamReader::Characters) {
            append(reader.text().toString());
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return paragraphs;
}

QString Property(const TextProperties& properties, const char* name) {
    const auto it = properties.find(name);
    return it == properties.end() ? QString() : it->second;
}

// Where a run's font, size, weight and slant live for each script class.
struct ScriptAttributes {
    const char* script;
    const char* font;
    const char* size;
    const char* weight;
    const char* slant;
};

constexpr ScriptAttributes kScripts[] = {
    {"Latin", "style:font-name", "fo:font-size", "fo:font-weight", "fo:font-style"},
    {"East Asian", "style:font-name-asian", "style:font-size-asian", "style:font-weight-asian",
     "style:font-style-asian"},
    {"complex", "style:font-name-complex", "style:font-size-complex", "style:font-weight-complex",
     "style:font-style-complex"},
};

// How one character of a run differs from the run's format as LibreOffice
// shows it, or "" when it does not. A run without a font or size leaves
// those to LibreOffice and is not checked for them; an attribute that is
// absent is LibreOffice's default: regular, upright, automatic colour and no
// underline.
std::string Mismatch(const TextProperties& properties, const CharStyle& style) {
    std::string found;
    for (const ScriptAttributes& script : kScripts) {
        const QString font = Property(properties, script.font);
        if (!style.font.empty() && font.toStdString() != style.font) {
            found += std::string(script.script) + " font \"" + font.toStdString() + "\"; ";
        }
        const QString size = Property(properties, script.size);
        if (style.size > 0 && (!size.endsWith("pt") || size.chopped(2).toDouble() != std::round(style.size * 2) / 2)) {
            found += std::string(script.script) + " size \"" + size.toStdString() + "\"; ";
        }
        const QString weight = Property(properties, script.weight);
        const bool bold = weight == "bold" || weight.toInt() >= 600;
        if (bold != style.bold || (!bold && !weight.isEmpty() && weight != "normal")) {
            found += std::string(script.script) + " weight \"" + weight.toStdString() + "\"; ";
        }
        const QString slant = Property(properties, script.slant);
        const bool italic = slant == "italic" || slant == "oblique";
        if (italic != style.italic || (!italic && !slant.isEmpty() && slant != "normal")) {
            found += std::string(script.script) + " slant \"" + slant.toStdString() + "\"; ";
        }
    }
    const QString color = Property(properties, "fo:color");
    const bool automatic = color.isEmpty() || Property(properties, "style:use-window-font-color") == "true";
    const QString wanted =
        style.color ? QString::asprintf("#%06x", static_cast<unsigned>(style.color->ToRGB())) : QString();
    if (automatic ? style.color.has_value() : color.toLower() != wanted) {
        found += "colour \"" + color.toStdString() + "\"; ";
    }
    const QString underline = Property(properties, "style:text-underline-style");
    if (style.underline != (!underline.isEmpty() && underline != "none")) {
        found += "underline \"" + underline.toStdString() + "\"; ";
    }
    return found;
}

// Every character of every run shows in the run's font, size, weight and
// slant whatever its script, and in its colour and underline, spaces and punctuation among Hebrew, Arabic or
// Chinese included, since they take the script of the text around them.
TEST_F(LibreOfficeInterop, ShowsEveryRunInItsFormatForEveryScript) {
    for (const auto& [name, doc] : Documents()) {
        const std::vector<OdfParagraph> shown = ReadOdfParagraphs(Output("fodt", name));
        ASSERT_EQ(shown.size(), doc.paragraphs.size()) << name;
        for (std::size_t p = 0; p < shown.size(); ++p) {
            const StyledParagraph& paragraph = doc.paragraphs[p];
            std::string text;
            for (const StyledRun& run : paragraph.runs) text += run.text;
            ASSERT_EQ(shown[p].text.toStdString(), text) << name << " paragraph " << p;
            qsizetype at = 0;
            for (const StyledRun& run : paragraph.runs) {
                const qsizetype length = QString::fromStdString(run.text).size();
                for (qsizetype k = at; k < at + length; ++k) {
                    const std::string mismatch = Mismatch(shown[p].properties[static_cast<std::size_t>(k)], run.style);
                    if (!mismatch.empty()) {
                        ADD_FAILURE() << name << " paragraph " << p << " run \"" << run.text << "\" "
                                      << ::testing::PrintToString(run.style) << ": " << mismatch;
                        break;
                    }
                }
                at += length;
            }
        }
    }
}

// LibreOffice's own documents, from the OpenDocument sources of the RTF
// fixtures: ReadRtf finds in its RTF the text its plain-text export holds.
// The notes fixture is left out: that export drops notes and puts each table
// cell and list label in a paragraph of its own, which ReadRtf does not.
TEST_F(LibreOfficeInterop, ReadsTheTextOfLibreOfficesOwnDocuments) {
    const QDir fixtures(QString(PLUMORA_TEST_DATA) + "/rtf");
    const QStringList sources = fixtures.entryList({"*.fodt"}, QDir::Files);
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& source : sources) {
        const std::string name = QFileInfo(source).completeBaseName().toStdString();
        if (name == "libreoffice-notes") continue;
        const StyledText doc = ReadRtf(Output("rtf", name));
        EXPECT_EQ(WithLineBreaksAsLineEnds(PlainText(doc)), FromLibreOfficeText(Output("txt", name))) << name;
    }
}

}  // namespace
}  // namespace fw
