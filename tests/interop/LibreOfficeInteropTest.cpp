// Exchanges documents with LibreOffice Writer. Documents written by WriteRtf
// are converted by LibreOffice to plain text, whose characters must be ours,
// and to RTF of its own, which ReadRtf must read back as the same runs. The
// OpenDocument sources of the RTF fixtures go through both conversions too, so
// that ReadRtf is also measured against LibreOffice's own reading of them.
//
// LibreOffice starts once per conversion kind, for all documents at once; it
// runs headless with a private profile, so that neither the user's settings
// nor an instance already running take part.
#include "framework/RtfReader.h"
#include "framework/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace fw {

static void PrintTo(const CharStyle& s, std::ostream* os) {
    *os << "{font \"" << s.font << "\" size " << s.size << (s.bold ? " bold" : "")
        << (s.italic ? " italic" : "") << (s.underline ? " underline" : "");
    if (s.color) *os << " colour #" << std::hex << s.color->ToRGB() << std::dec;
    *os << "}";
}

static void PrintTo(const StyledRun& r, std::ostream* os) {
    *os << '"' << r.text << "\" ";
    PrintTo(r.style, os);
}

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

// The documents both programs must agree on, by file name. Right-to-left
// scripts are not among them: LibreOffice takes the font, size, weight and
// slant of Hebrew or Arabic text only from the associated words (\af, \afs,
// \ab, \ai), which WriteRtf does not write, so such runs change there.
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

        Convert("txt:Text", dir.filePath("txt"), inputs);
        Convert("rtf", dir.filePath("rtf"), inputs);
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

TEST_F(LibreOfficeInterop, ReadsLibreOfficesRtfOfOurDocumentsAsTheSameRuns) {
    for (const auto& [name, doc] : Documents()) {
        const StyledText back = ReadRtf(Output("rtf", name));
        const StyledText expected = AsLibreOfficeWritesIt(doc);
        ASSERT_EQ(back.paragraphs.size(), expected.paragraphs.size()) << name;
        for (std::size_t p = 0; p < expected.paragraphs.size(); ++p) {
            EXPECT_EQ(back.paragraphs[p].alignment, expected.paragraphs[p].alignment) << name << " paragraph " << p;
            EXPECT_EQ(back.paragraphs[p].runs, expected.paragraphs[p].runs) << name << " paragraph " << p;
        }
    }
}

// LibreOffice's own documents, from the OpenDocument sources of the RTF
// fixtures: ReadRtf finds in its RTF the text its plain-text export holds.
TEST_F(LibreOfficeInterop, ReadsTheTextOfLibreOfficesOwnDocuments) {
    const QDir fixtures(QString(PLUMORA_TEST_DATA) + "/rtf");
    const QStringList sources = fixtures.entryList({"*.fodt"}, QDir::Files);
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& source : sources) {
        const std::string name = QFileInfo(source).completeBaseName().toStdString();
        const StyledText doc = ReadRtf(Output("rtf", name));
        EXPECT_EQ(WithLineBreaksAsLineEnds(PlainText(doc)), FromLibreOfficeText(Output("txt", name))) << name;
    }
}

}  // namespace
}  // namespace fw
