// Exchanges documents with LibreOffice Writer. Documents written by WriteRtf
// are converted by LibreOffice to plain text, whose characters must be ours,
// and to RTF of its own, which ReadRtf must read back as the same runs. The
// OpenDocument sources of the RTF fixtures go through both conversions too,
// so that ReadRtf is also measured against LibreOffice's own reading of them.
//
// LibreOffice starts once per conversion kind, for all documents at once; it
// runs headless with a private profile, so that neither the user's settings
// nor an instance already running take part.
#include "tests/support/StyledTextSupport.h"
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

#include <gtest/gtest.h>

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
    const auto serif = Style("DejaVu Serif", 12);
    std::map<std::string, StyledText> docs;
    docs["ours-formats"] = StyledText{{
        Paragraph(Alignment::Left, {{"Plain ", serif}, {"bold", Style("DejaVu Serif", 12, true)},
                                    {" italic", Style("DejaVu Serif", 12, false, true)},
                                    {" underlined", Style("DejaVu Serif", 12, false, false, true)},
                                    {" all three", Style("DejaVu Serif", 12, true, true, true)}}),
        Paragraph(Alignment::Center, {{"Sans 18 red", Style("DejaVu Sans", 18, false, false, false, kRed)},
                                      {" mono 9 navy", Style("DejaVu Sans Mono", 9, true, false, false, kNavy)},
                                      {" serif 10.5 green", Style("DejaVu Serif", 10.5, false, true, false, kGreen)},
                                      {" black 36", Style("DejaVu Sans", 36, false, false, true, kBlack)}}),
        Paragraph(Alignment::Right, {{"Name\tSize\t", Style("DejaVu Sans", 14)}}),
        Paragraph(Alignment::Justify, {{"Justified between both margins", Style("DejaVu Sans", 11)}}),
        Paragraph(Alignment::Default, {}),
        Paragraph(Alignment::Default, {{"In the default font and size, ", Style("", 0)}, {"bold", Style("", 0, true)},
                                       {" and red", Style("", 0, false, false, false, kRed)}}),
    }};
    docs["ours-scripts"] = StyledText{{
        Paragraph(Alignment::Left, {{"Crème brûlée, Łódź – “quoted” € 5 ", serif},
                                    {"καλημέρα", Style("DejaVu Sans", 12, true)},
                                    {" Съешь же", Style("DejaVu Sans", 12, false, true, false, kNavy)}}),
        Paragraph(Alignment::Center, {{"日本語のテキスト", Style("Droid Sans Fallback", 14, true, false, false, kNavy)},
                                      {", ", Style("Droid Sans Fallback", 14)},
                                      {"한국어", Style("Noto Sans CJK KR", 9, false, true, true, kRed)},
                                      {" Latin ", Style("DejaVu Sans", 12)},
                                      {"中文", Style("Noto Serif CJK SC", 8, true, true)}}),
        Paragraph(Alignment::Left, {{"Emoji 😀 and 👍🏽\u2028line two", Style("DejaVu Sans", 12)}}),
        Paragraph(Alignment::Right, {{"שלום עולם", Style("DejaVu Sans", 16, true, true)}, {" ", Style("DejaVu Sans", 10)},
                                     {"مرحبا بالعالم", Style("DejaVu Sans Mono", 18, true, false, true, kGreen)},
                                     {" 2024 ", Style("DejaVu Serif", 11)},
                                     {"العربية", Style("", 0, false, true)}}),
    }};
    return docs;
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

// LibreOffice's plain-text export without its byte order mark, and the
// text of our document as it writes it: one line per paragraph, and a line
// break inside a paragraph as a line end too.
std::string FromLibreOfficeText(std::string text) {
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

std::string AsPlainTextExport(const StyledText& doc) {
    std::string text;
    for (const StyledParagraph& paragraph : doc.paragraphs) text += TextOf(paragraph) + '\n';
    for (std::size_t at = text.find("\u2028"); at != std::string::npos; at = text.find("\u2028", at))
        text.replace(at, 3, "\n");
    return text;
}

TEST_F(LibreOfficeInterop, PlainTextExportHasOurCharacters) {
    for (const auto& [name, doc] : Documents())
        EXPECT_EQ(FromLibreOfficeText(Output("txt", name)), AsPlainTextExport(doc)) << name;
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


// LibreOffice writes a Hebrew or Arabic run with its associated words only
// (\rtlch\af\afs\ab\ai), without its colour or underline, and ReadRtf takes
// the format from the plain words, so of paragraphs holding such text only
// the text and the alignment come back.
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

// LibreOffice's own documents, from the OpenDocument sources of the RTF
// fixtures: ReadRtf finds in its RTF the text its plain-text export holds.
TEST_F(LibreOfficeInterop, ReadsTheTextOfLibreOfficesOwnDocuments) {
    const QDir fixtures(QString(PLUMORA_TEST_DATA) + "/rtf");
    const QStringList sources = fixtures.entryList({"*.fodt"}, QDir::Files);
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& source : sources) {
        const std::string name = QFileInfo(source).completeBaseName().toStdString();
        const StyledText doc = ReadRtf(Output("rtf", name));
        EXPECT_EQ(AsPlainTextExport(doc), FromLibreOfficeText(Output("txt", name))) << name;
    }
}

}  // namespace
}  // namespace fw
