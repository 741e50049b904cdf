// Printing a styled document of 1 MB, some 300 pages, to a PDF file from the
// document window, beside QTextDocument::print of the same document to the
// same kind of printer.
#include "editor/Plumora.h"
#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/testing/TestDriver.h"

#include "BenchRuntime.h"

#include <QFile>
#include <QPrinter>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

const fw::StyledText& Document() {
    static const fw::StyledText document = MakeDocument(kMegabyte);
    return document;
}

std::filesystem::path PdfPath(const char* name) {
    return std::filesystem::temp_directory_path() / ("plumora-print-bench-" + std::to_string(::getpid()) + name);
}

// The pages of the PDF file, which it removes.
double PagesOf(const std::filesystem::path& pdf) {
    QFile file(QString::fromStdString(pdf.string()));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = file.readAll();
    std::filesystem::remove(pdf);
    return static_cast<double>(bytes.count("/Type /Page\n"));
}

void BM_PlumoraPrintToPdf(benchmark::State& state) {
    auto* dialogs = StartRuntime();
    auto* window = fw::MakeWindow<class Plumora>();
    window->EditField1()->SetStyledText(Document());
    const auto pdf = PdfPath("-plumora.pdf");
    for (auto _ : state) {
        dialogs->printAnswers.push_back(fw::testing::ScriptedDialogs::PrintAnswer{pdf.string(), {}});
        window->FilePrint_Action();
    }
    state.counters["pages"] = PagesOf(pdf);
    window->Close();
    fw::testing::ProcessEvents();
}

void BM_QtPrintToPdf(benchmark::State& state) {
    QTextDocument document;
    fw::SetDocumentStyledText(document, Document());
    const auto pdf = PdfPath("-qt.pdf");
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        document.print(&printer);
    }
    state.counters["pages"] = PagesOf(pdf);
}

BENCHMARK(BM_PlumoraPrintToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QtPrintToPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
