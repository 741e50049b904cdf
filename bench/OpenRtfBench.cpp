// Opening a large RTF document: parsing it, filling the editor's text field
// with it, and, for comparison, the time Qt's text document itself needs to
// take the same formatted text. Then the whole road of File > Open up to the
// program's first answer, for large documents and for small hostile ones.
#include "editor/Plumora.h"
#include "framework/text/RtfReader.h"
#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/WindowFrame.h"
#include "framework/qt/testing/TestDriver.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Runtime.h"
#include "shell/App.h"

#include "BenchRuntime.h"
#include "FillerText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

// An RTF document of about 5 MB holding about 2 MB of text in 4000
// paragraphs, shaped the way LibreOffice Writer 7 writes it: every paragraph
// starts with \pard\plain and its full paragraph and character defaults,
// every few words open a group that states the character format, and an
// accented letter comes as \uN\'hh now and then.
std::string MakeLibreOfficeRtf() {
    // Character formats as LibreOffice states them at the start of each group.
    static const char* const kFormats[] = {
        "\\loch",
        "\\loch\\b\\loch",
        "\\loch\\i\\loch",
        "\\loch\\ul\\ulc0\\loch",
        "\\loch\\cf2\\loch",
        "\\hich\\af6\\loch\\fs21\\f6\\loch",
        "\\hich\\af5\\loch\\fs28\\f5\\cf3\\loch",
        "\\loch\\cf2\\i\\ul\\ulc0\\b\\loch",
    };
    constexpr int kFormatCount = sizeof kFormats / sizeof kFormats[0];

    std::string rtf;
    rtf.reserve(6 << 20);
    rtf +=
        "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
        "{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif"
        "{\\*\\falt Times New Roman};}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}"
        "{\\f5\\fmodern\\fprq1\\fcharset0 Liberation Mono{\\*\\falt Courier New};}"
        "{\\f6\\fnil\\fprq2\\fcharset0 Noto Sans CJK SC;}{\\f7\\fnil\\fprq2\\fcharset0 Lohit Devanagari;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red201\\green33\\blue30;\\red42\\green96\\blue153;}\n"
        "{\\stylesheet{\\s0\\snext0\\rtlch\\af7\\afs24\\alang1081 \\ltrch\\lang1033\\langfe2052\\hich\\af3"
        "\\loch\\widctlpar\\hyphpar0\\ltrpar\\cf0\\f3\\fs24\\lang1033\\kerning1\\dbch\\af8\\langfe2052 Normal;}\n"
        "{\\s15\\sbasedon0\\snext16\\rtlch\\af7\\afs28 \\ltrch\\hich\\af4\\loch\\sb240\\sa120\\keepn\\f4\\fs28"
        "\\dbch\\af6 Heading;}\n"
        "{\\s16\\sbasedon0\\snext16\\loch\\sl276\\slmult1\\sb0\\sa140 Text Body;}\n"
        "}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
        "{\\info{\\creatim\\yr2024\\mo3\\dy14\\hr10\\min2}{\\revtim\\yr2024\\mo3\\dy14\\hr10\\min3}"
        "{\\printim\\yr0\\mo0\\dy0\\hr0\\min0}}{\\*\\userprops}\\deftab709\n"
        "\\hyphauto1\\viewscale100\n"
        "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134"
        "\\margtsxn1134\\margbsxn1134\\pgdscnxt0 Default Page Style;}}\n"
        "\\formshade\\paperh16838\\paperw11906\\margl1134\\margr1134\\margt1134\\margb1134\\sectd\\sbknone"
        "\\sftnnar\\saftnnrlc\\sectunlocked1\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134"
        "\\margtsxn1134\\margbsxn1134\\ftnbj\\ftnstart1\\ftnrstcont\\ftnnar\\aenddoc\\aftnrstcont"
        "\\aftnstart1\\aftnnrlc\\htmautsp\n";

    Sequence random(42);
    for (int paragraph = 0; paragraph < 4000; ++paragraph) {
        if (paragraph > 0) rtf += "\\par ";
        rtf += paragraph % 10 == 9 ? "\\pard\\plain \\s0\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang1033"
                                     "\\langfe2052\\hich\\af4\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs24"
                                     "\\lang1033\\kerning1\\dbch\\af8\\langfe2052\\qc\\ltrpar"
                                   : "\\pard\\plain \\s0\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang1033"
                                     "\\langfe2052\\hich\\af4\\loch\\nowidctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs24"
                                     "\\lang1033\\kerning1\\dbch\\af8\\langfe2052\\ql\\ltrpar";
        int text = 0;
        while (text < 495) {
            rtf += '{';
            rtf += kFormats[random.Next(kFormatCount)];
            rtf += '\n';
            const int words = 2 + static_cast<int>(random.Next(3));
            for (int w = 0; w < words; ++w) {
                const std::string_view word = kFillerWords[random.Next(kFillerWordCount)];
                if (random.Next(40) == 0) {
                    rtf += "\\u233\\'e9";
                    ++text;
                }
                rtf += word;
                rtf += ' ';
                text += static_cast<int>(word.size()) + 1;
            }
            rtf += '}';
        }
        rtf += '\n';
    }
    rtf += "\\par }";
    return rtf;
}

const std::string& Document() {
    static const std::string rtf = MakeLibreOfficeRtf();
    return rtf;
}

std::size_t TextBytes(const fw::StyledText& text) {
    std::size_t bytes = 0;
    for (const auto& paragraph : text.paragraphs) {
        for (const auto& run : paragraph.runs) bytes += run.text.size();
    }
    return bytes;
}

std::size_t RunCount(const fw::StyledText& text) {
    std::size_t runs = 0;
    for (const auto& paragraph : text.paragraphs) runs += paragraph.runs.size();
    return runs;
}

void DescribeDocument(benchmark::State& state, const fw::StyledText& text) {
    state.counters["file_MB"] = static_cast<double>(Document().size()) / 1e6;
    state.counters["text_MB"] = static_cast<double>(TextBytes(text)) / 1e6;
    state.counters["paragraphs"] = static_cast<double>(text.paragraphs.size());
    state.counters["runs"] = static_cast<double>(RunCount(text));
}

// The least time over repetitions: on a shared machine the least disturbed.
double Minimum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// The editor's text field: a QTextEdit that is shown, as it is in a window.
QTextEdit& Field() {
    static QTextEdit* field = [] {
        auto* edit = new QTextEdit;
        edit->resize(800, 600);
        edit->show();
        QApplication::processEvents();
        return edit;
    }();
    return *field;
}

void BM_ReadRtf(benchmark::State& state) {
    const std::string& rtf = Document();
    fw::StyledText text;
    for (auto _ : state) {
        text = fw::ReadRtf(rtf);
        benchmark::DoNotOptimize(text.paragraphs.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
    DescribeDocument(state, text);
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);

void BM_OpenRtfIntoField(benchmark::State& state) {
    const std::string& rtf = Document();
    QTextEdit& field = Field();
    for (auto _ : state) {
        const fw::StyledText text = fw::ReadRtf(rtf);
        fw::SetDocumentStyledText(*field.document(), text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
    DescribeDocument(state, fw::DocumentStyledText(*field.document()));
    fw::SetDocumentStyledText(*field.document(), fw::StyledText{});
}
BENCHMARK(BM_OpenRtfIntoField)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);

// The same, then the field's layout is completed for the whole document. The
// field lays out the visible part at once and the rest while the event loop
// runs; this shows what that background work costs in all.
void BM_OpenRtfIntoFieldAndLayOutAll(benchmark::State& state) {
    const std::string& rtf = Document();
    QTextEdit& field = Field();
    for (auto _ : state) {
        const fw::StyledText text = fw::ReadRtf(rtf);
        fw::SetDocumentStyledText(*field.document(), text);
        benchmark::DoNotOptimize(field.document()->documentLayout()->documentSize());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
    fw::SetDocumentStyledText(*field.document(), fw::StyledText{});
}
BENCHMARK(BM_OpenRtfIntoFieldAndLayOutAll)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);

// Qt's own limit: the already parsed runs, their strings and formats built
// beforehand (one shared format object per distinct style, the cheapest form
// for the document's format lookup), inserted into a fresh document that no
// widget shows.
void BM_BareQTextDocumentInsert(benchmark::State& state) {
    const fw::StyledText parsed = fw::ReadRtf(Document());
    struct Run {
        QString text;
        QTextCharFormat format;
    };
    std::vector<std::pair<fw::CharStyle, QTextCharFormat>> formats;
    const auto formatFor = [&formats](const fw::CharStyle& style) {
        for (const auto& [known, format] : formats) {
            if (known == style) return format;
        }
        QTextCharFormat format;
        if (!style.font.empty()) format.setFontFamilies({QString::fromStdString(style.font)});
        if (style.size > 0) format.setFontPointSize(style.size);
        if (style.bold) format.setFontWeight(QFont::Bold);
        if (style.italic) format.setFontItalic(true);
        if (style.underline) format.setFontUnderline(true);
        if (style.color) format.setForeground(QColor(style.color->red, style.color->green, style.color->blue));
        formats.emplace_back(style, format);
        return format;
    };
    std::vector<std::vector<Run>> paragraphs;
    for (const auto& paragraph : parsed.paragraphs) {
        auto& runs = paragraphs.emplace_back();
        for (const auto& run : paragraph.runs) runs.push_back({QString::fromStdString(run.text), formatFor(run.style)});
    }
    for (auto _ : state) {
        QTextDocument doc;
        doc.setUndoRedoEnabled(false);
        QTextCursor cursor(&doc);
        cursor.beginEditBlock();
        bool first = true;
        for (const auto& runs : paragraphs) {
            if (!first) cursor.insertBlock();
            first = false;
            for (const Run& run : runs) cursor.insertText(run.text, run.format);
        }
        cursor.endEditBlock();
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Document().size()));
    DescribeDocument(state, parsed);
}
BENCHMARK(BM_BareQTextDocumentInsert)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Minimum);

// Documents for the road from File > Open to the first answer: the 5 MB
// document above, 50 MB of plain paragraphs with one bold phrase each, and
// three small hostile files. The fonts' names are new at each call, so that
// no cache of the toolkit's already holds them.
std::string PlainParagraphsRtf() {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}\n";
    rtf.reserve(50 * kMegabyte + 1000);
    Sequence random(11);
    while (rtf.size() < 50 * kMegabyte) {
        rtf += "\\pard ";
        for (int word = 0; word < 80; ++word) {
            rtf += word == 3 ? "{\\b " : "";
            rtf += kFillerWords[random.Next(kFillerWordCount)];
            rtf += word == 5 ? "} " : " ";
        }
        rtf += "\\par\n";
    }
    return rtf + "}";
}

std::string ManyFontsRtf() {
    static int calls = 0;
    const std::string name = "Font " + std::to_string(++calls) + " Number ";
    std::string table, runs;
    for (int i = 0; i < 10000; ++i) {
        table += "{\\f" + std::to_string(i) + "\\fnil " + name + std::to_string(i) + ";}";
        runs += "{\\f" + std::to_string(i) + " run " + std::to_string(i) + " }";
    }
    return "{\\rtf1\\ansi\\deff0{\\fonttbl" + table + "}\n" + runs + "}";
}

std::string LoneSurrogatesRtf() {
    std::string rtf = "{\\rtf1\\ansi\\uc1 ";
    for (int i = 0; i < 100000; ++i) rtf += "\\u-10179?";
    return rtf + "}";
}

std::string NestedGroupsRtf() {
    std::string rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 100000; ++i) rtf += "{\\b x";
    return rtf + std::string(100000, '}') + "}";
}

struct OpenCase {
    std::string (*make)();
    bool freshEachTime;
};
const OpenCase kLibreOffice5MB{[] { return Document(); }, false};
const OpenCase kPlainParagraphs50MB{PlainParagraphsRtf, false};
const OpenCase kTenThousandFonts{ManyFontsRtf, true};
const OpenCase kLoneSurrogates{LoneSurrogatesRtf, false};
const OpenCase kNestedGroups{NestedGroupsRtf, false};

const std::string& CaseRtf(const OpenCase& c) {
    static std::string kept;
    static const OpenCase* keptCase = nullptr;
    if (keptCase != &c || c.freshEachTime) kept = c.make();
    keptCase = &c;
    return kept;
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

// A key typed right after the document appeared, through the event queue:
// the events run until it is in the document and the field has the focus.
bool Answered(QTextEdit& edit) {
    const int before = edit.document()->characterCount();
    QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z")));
    const auto deadline = Clock::now() + std::chrono::minutes(2);
    while (edit.document()->characterCount() == before || !edit.hasFocus()) {
        if (Clock::now() > deadline) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// Times each round from the open to the first answer; open() opens the
// document and gives the field that shows it. The counters split the time
// at the moment the open returned, the window with the document shown.
template <class Open>
void TimeOpenThenAnswer(benchmark::State& state, Open open) {
    double opening = 0, answering = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        QTextEdit* edit = open();
        const auto opened = Clock::now();
        if (!edit || !Answered(*edit)) {
            state.SkipWithError("the document did not open or the typed key did not reach it");
            return;
        }
        const auto answered = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(answered - start).count());
        opening += Milliseconds(opened - start);
        answering += Milliseconds(answered - opened);
    }
    state.counters["open_ms"] = benchmark::Counter(opening, benchmark::Counter::kAvgIterations);
    state.counters["answer_ms"] = benchmark::Counter(answering, benchmark::Counter::kAvgIterations);
}

// File > Open of the program, the file chosen in the scripted dialog.
void BM_PlumoraOpenThenAnswer(benchmark::State& state, const OpenCase& c) {
    auto* dialogs = StartRuntime();
    const auto path =
        std::filesystem::temp_directory_path() / ("plumora-open-bench-" + std::to_string(::getpid()) + ".rtf");
    class Plumora* window = nullptr;
    const auto close = [&window] {
        if (window) window->Close();
        window = nullptr;
        fw::testing::ProcessEvents();
    };
    TimeOpenThenAnswer(state, [&]() -> QTextEdit* {
        state.PauseTiming();
        close();
        std::ofstream(path, std::ios::binary) << CaseRtf(c);
        dialogs->openAnswers.push_back(std::make_shared<fw::FolderItem>(path));
        state.ResumeTiming();
        App()->FileOpen_Action();
        window = dynamic_cast<class Plumora*>(fw::WindowAt(0));
        if (!window || window->Title() != path.filename().string()) return nullptr;
        return static_cast<QTextEdit*>(fw::ViewOf(*window->EditField1()));
    });
    close();
    std::filesystem::remove(path);
}

// A bare QTextEdit as large as the program's page, shown and focused, is
// given the document read by the same reader, as Qt opens a document: the
// text edit takes a finished QTextDocument.
void BM_BareOpenThenAnswer(benchmark::State& state, const OpenCase& c) {
    std::unique_ptr<QTextEdit> edit;
    TimeOpenThenAnswer(state, [&] {
        state.PauseTiming();
        edit = std::make_unique<QTextEdit>();
        edit->resize(674, 338);
        edit->show();
        edit->activateWindow();
        edit->setFocus();
        const std::string& rtf = CaseRtf(c);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        auto* document = new QTextDocument(edit.get());
        fw::SetDocumentStyledText(*document, fw::ReadRtf(rtf));
        edit->setDocument(document);
        return edit.get();
    });
}

// Fixed rounds: the 50 MB document takes seconds to open.
#define PLUMORA_OPEN_BENCHMARK(function, name, rounds) \
    BENCHMARK_CAPTURE(function, name, k##name)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(rounds)

PLUMORA_OPEN_BENCHMARK(BM_PlumoraOpenThenAnswer, LibreOffice5MB, 3);
PLUMORA_OPEN_BENCHMARK(BM_BareOpenThenAnswer, LibreOffice5MB, 3);
PLUMORA_OPEN_BENCHMARK(BM_PlumoraOpenThenAnswer, PlainParagraphs50MB, 2);
PLUMORA_OPEN_BENCHMARK(BM_BareOpenThenAnswer, PlainParagraphs50MB, 2);
PLUMORA_OPEN_BENCHMARK(BM_PlumoraOpenThenAnswer, TenThousandFonts, 2);
PLUMORA_OPEN_BENCHMARK(BM_BareOpenThenAnswer, TenThousandFonts, 2);
PLUMORA_OPEN_BENCHMARK(BM_PlumoraOpenThenAnswer, LoneSurrogates, 3);
PLUMORA_OPEN_BENCHMARK(BM_BareOpenThenAnswer, LoneSurrogates, 3);
PLUMORA_OPEN_BENCHMARK(BM_PlumoraOpenThenAnswer, NestedGroups, 3);
PLUMORA_OPEN_BENCHMARK(BM_BareOpenThenAnswer, NestedGroups, 3);

}  // namespace
