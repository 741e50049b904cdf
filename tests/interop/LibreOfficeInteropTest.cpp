// Exchanges documents with LibreOffice Writer: a document written by WriteRtf
// goes through LibreOffice's RTF and must come back as the same runs, and the
// OpenDocument sources of the RTF fixtures must read as LibreOffice's own
// plain-text export of them. LibreOffice runs headless with a private profile,
// once per conversion kind for all documents.
#include "tests/support/StyledTextSupport.h"
#include "framework/text/RtfReader.h"
#include "framework/text/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <fstream>

namespace fw {

namespace {

constexpr Color kRed{0xC0, 0x10, 0x20}, kNavy{0x00, 0x00, 0x80};
using A = Alignment;

// One document rich in formats and scripts that both programs must agree on.
StyledText Document() {
    return {{
        {A::Left,
         {{"Plain, € “quoted” ", Style("DejaVu Serif", 12)},
          {"bold", Style("DejaVu Serif", 12, "biu")},
          {" Sans 18 red", Style("DejaVu Sans", 18, "", kRed)},
          {" mono 10.5", Style("DejaVu Sans Mono", 10.5)}}},
        {A::Justify, {{"Justified\t", Style("DejaVu Sans", 11)}, {"default font and size", Style("", 0, "b")}}},
        {A::Default, {}},
        {A::Center,
         {{"日本語", Style("Droid Sans Fallback", 14, "b", kNavy)},
          {"한국어", Style("Noto Sans CJK KR", 9, "iu")},
          {"Emoji 😀\u2028line two", Style("DejaVu Sans", 12)}}},
        {A::Right, {{"שלום עולם ", Style("DejaVu Serif", 16, "bi")}, {"مرحبا", Style("DejaVu Sans", 11)}}},
    }};
}

// A long document as LibreOffice holds one of its own, in flat OpenDocument,
// and as the runs it must read as: Latin text whose format changes every one
// to three words and back, also across paragraph ends.
struct LongDocument {
    StyledText runs;
    std::string flat =
        R"(<?xml version="1.0" encoding="UTF-8"?><office:document xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" )"
        R"(xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" office:version="1.3" )"
        R"(xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" )"
        R"(xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" )"
        R"(office:mimetype="application/vnd.oasis.opendocument.text"><office:automatic-styles>)";

    LongDocument() {
        const CharStyle styles[]{Style("Liberation Sans", 12), Style("Liberation Sans", 12, "b"),
                                 Style("Liberation Serif", 10.5, "i", kRed), Style("Liberation Mono", 14, "u", kNavy),
                                 Style("Liberation Sans", 12, "biu")};
        for (int t = 0; t < 5; ++t) {
            const CharStyle& s = styles[t];
            flat += "<style:style style:name=\"T" + std::to_string(t) +
                R"(" style:family="text"><style:text-properties )" + "fo:font-family=\"" + s.font +
                "\" fo:font-size=\"" + std::to_string(s.size) + "pt\"" + (s.bold ? R"( fo:font-weight="bold")" : "") +
                (s.italic ? R"( fo:font-style="italic")" : "") +
                (s.underline ? R"( style:text-underline-style="solid")" : "") +
                (s.color ? " fo:color=\"#" +
                         QString::number(s.color->ToRGB(), 16).rightJustified(6, '0').toStdString() + '"'
                         : "") +
                "/></style:style>";
        }
        for (const char* align : {"start", "center"})
            flat += std::string("<style:style style:name=\"") + align + R"(" style:family="paragraph">)" +
                "<style:paragraph-properties fo:text-align=\"" + align + "\"/></style:style>";
        flat += "</office:automatic-styles><office:body><office:text>";
        const char* words[]{"lorem ", "ipsum ", "dolor ", "sit ", "amet ", "crème ", "brûlée "};
        for (int p = 0, w = 0; p < 300; ++p) {
            auto& paragraph = runs.paragraphs.emplace_back(StyledParagraph{p % 10 ? A::Left : A::Center, {}});
            flat += std::string("<text:p text:style-name=\"") + (p % 10 ? "start" : "center") + "\">";
            for (int r = 0; r < 30; ++r) {
                const int t = (p + 2 * r + r / 7) % 5;  // never the format of the run before
                std::string text;
                for (int n = 0; n <= (p + r) % 3; ++n) text += words[w++ % 7];
                if (r == 29) text.pop_back();
                paragraph.runs.push_back({text, styles[t]});
                flat += R"(<text:span text:style-name="T)" + std::to_string(t) + "\">" + text + "</text:span>";
            }
            flat += "</text:p>";
        }
        flat += "</office:text></office:body></office:document>";
    }
};

class LibreOfficeInterop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work_ = new QTemporaryDir();
        ASSERT_TRUE(work_->isValid());
        const QDir dir(work_->path());
        dir.mkpath("in");
        QStringList inputs{dir.filePath("in/ours.rtf"), dir.filePath("in/ours-long.rtf"), dir.filePath("in/long.fodt")};
        ASSERT_TRUE(std::ofstream(inputs[0].toStdString(), std::ios::binary) << WriteRtf(Document()));
        ASSERT_TRUE(std::ofstream(inputs[1].toStdString(), std::ios::binary) << WriteRtf(LongDocument().runs));
        ASSERT_TRUE(std::ofstream(inputs[2].toStdString(), std::ios::binary) << LongDocument().flat);
        const QDir fixtures(QString(PLUMORA_TEST_DATA) + "/rtf");
        for (const QString& name : fixtures.entryList({"*.fodt"}, QDir::Files)) inputs << fixtures.filePath(name);
        Convert("txt:Text", dir.filePath("txt"), inputs);
        Convert("rtf", dir.filePath("rtf"), inputs);
    }

    static void TearDownTestSuite() { delete std::exchange(work_, nullptr); }

    // Converts every input in one run of LibreOffice; a failure shows in the
    // tests as a missing output file, with LibreOffice's own output here.
    static void Convert(const QString& filter, const QString& outDir, const QStringList& inputs) {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        ASSERT_FALSE(soffice.isEmpty()) << "soffice not found (Debian: libreoffice-writer-nogui)";
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(soffice,
                      QStringList{"-env:UserInstallation=" + QUrl::fromLocalFile(work_->filePath("profile")).toString(),
                                  "--headless", "--norestore", "--convert-to", filter, "--outdir", outDir} +
                          inputs);
        ASSERT_TRUE(process.waitForStarted(30000)) << "cannot start " << soffice.toStdString();
        const bool finished = process.waitForFinished(180000);
        if (!finished) process.kill();
        log_ += process.readAll().toStdString();
        ASSERT_TRUE(finished) << "LibreOffice did not finish: " << log_;
        EXPECT_EQ(process.exitCode(), 0) << log_;
    }

    // What LibreOffice wrote for the input of that name (without extension),
    // a plain-text export without its byte order mark.
    static std::string Output(const char* kind, const std::string& name) {
        QFile file(QDir(work_->path()).filePath(QString(kind) + "/" + QString::fromStdString(name) + "." + kind));
        const std::string bytes = file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "";
        EXPECT_FALSE(bytes.empty()) << "LibreOffice wrote no " << file.fileName().toStdString() << "\n" << log_;
        return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    }

    static inline QTemporaryDir* work_ = nullptr;
    static inline std::string log_;
};

// What LibreOffice changes on the way through: a paragraph without an
// alignment of its own comes back left aligned (\ql); a run without a size
// comes back at 12 pt; and a run without a font, which WriteRtf gives the
// nameless font-table entry, comes back in a font named "0", LibreOffice's
// name for a font without a name (which, being installed nowhere, shows in
// the default font, as before).
// LibreOffice writes a Hebrew or Arabic run with its associated words only
// (\rtlch\af\afs\ab\ai), which it took from ours, without its colour or
// underline, so the right-to-left paragraph has neither.
TEST_F(LibreOfficeInterop, ReadsLibreOfficesRtfOfOurDocumentAsTheSameRuns) {
    const StyledText doc = Document(), back = ReadRtf(Output("rtf", "ours"));
    ASSERT_EQ(back.paragraphs.size(), doc.paragraphs.size());
    for (std::size_t p = 0; p < doc.paragraphs.size(); ++p) {
        StyledParagraph expected = doc.paragraphs[p];
        if (expected.alignment == A::Default) expected.alignment = A::Left;
        for (StyledRun& run : expected.runs) {
            if (run.style.font.empty()) run.style.font = "0";
            if (run.style.size == 0) run.style.size = 12;
        }
        EXPECT_EQ(back.paragraphs[p], expected) << "paragraph " << p;
    }
}

// LibreOffice's own documents, from the OpenDocument sources of the RTF
// fixtures: ReadRtf finds in its RTF the text its plain-text export holds.
// The notes fixture is left out: that export drops notes and puts each table
// cell and list label in a paragraph of its own, which ReadRtf does not.
TEST_F(LibreOfficeInterop, ReadsTheTextOfLibreOfficesOwnDocuments) {
    const QStringList sources = QDir(QString(PLUMORA_TEST_DATA) + "/rtf").entryList({"*.fodt"}, QDir::Files);
    ASSERT_FALSE(sources.isEmpty());
    for (const QString& source : sources) {
        const std::string name = QFileInfo(source).completeBaseName().toStdString();
        if (name == "libreoffice-notes") continue;
        // The plain-text export writes a line per paragraph, and a line break inside one as a line end too.
        std::string text;
        for (std::string paragraph : TextsOf(ReadRtf(Output("rtf", name)))) {
            for (std::size_t at; (at = paragraph.find("\u2028")) != std::string::npos;) paragraph.replace(at, 3, "\n");
            text += paragraph + '\n';
        }
        EXPECT_EQ(text, Output("txt", name)) << name;
    }
}

// A document saved here is no larger than LibreOffice's RTF of its own
// document of the same runs (its RTF of our file is larger still), and each
// program reads the other's file as the same runs.
TEST_F(LibreOfficeInterop, WritesNoLargerFilesThanLibreOfficeOfTheSameRuns) {
    const StyledText doc = LongDocument().runs;
    const std::string theirs = Output("rtf", "long"), ours = WriteRtf(ReadRtf(theirs));
    EXPECT_EQ(ReadRtf(theirs), doc);
    EXPECT_EQ(ReadRtf(Output("rtf", "ours-long")), doc);
    EXPECT_LE(ours.size(), theirs.size());
}

}  // namespace
}  // namespace fw
