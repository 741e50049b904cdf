#include "framework/qt/QtPrinting.h"

#include "framework/ui/Dialogs.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/QtGraphics.h"

#include <QFile>
#include <QPrinter>

#include <cmath>

namespace fw {

namespace {

// The printer and the painter on it, made before the graphics that draws with them.
struct PrintTarget {
    std::unique_ptr<QPrinter> printer;
    QPainter painter;
};

// Why a file cannot be written, in the system's words.
std::string FileProblem(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) return "it could not be written";
    return FromQt(file.errorString());
}

int Points(double length) { return static_cast<int>(std::lround(length)); }

// A page of a print, drawn in points from the top left corner of the
// printable area. Releasing it ends the print and sends the job.
class PageGraphics : private PrintTarget, public QtGraphics {
public:
    explicit PageGraphics(std::unique_ptr<QPrinter> target)
        : PrintTarget{std::move(target), {}},
          QtGraphics(painter, Points(printer->pageLayout().paintRect(QPageLayout::Point).width()),
                     Points(printer->pageLayout().paintRect(QPageLayout::Point).height())) {}

    ~PageGraphics() override {
        if (!painter.isActive()) return;
        failed_ = !painter.end() || failed_ || printer->printerState() == QPrinter::Error;
        if (failed_) Report("the print could not be finished");
    }

    // Starts the print; when it cannot start the user is told why.
    bool Begin() {
        if (!painter.begin(printer.get())) {
            Report(printer->outputFormat() == QPrinter::PdfFormat ? FileProblem(printer->outputFileName())
                                                                  : "the printer did not take the job");
            return false;
        }
        const double scale = printer->resolution() / 72.0;
        painter.scale(scale, scale);
        return true;
    }

    void NextPage() override { failed_ = !printer->newPage() || failed_; }

    void Report(const std::string& reason) const {
        const bool file = printer->outputFormat() == QPrinter::PdfFormat;
        const auto destination = file ? "the file \"" + FromQt(printer->outputFileName()) + "\""
                                      : "the printer \"" + FromQt(printer->printerName()) + "\"";
        MsgBox("The document could not be printed to " + destination + ": " + reason + ".");
    }

private:
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<Graphics> OpenPage(std::unique_ptr<QPrinter> printer) {
    auto page = std::make_unique<PageGraphics>(std::move(printer));
    if (page->Begin()) return page;
    return nullptr;
}

}  // namespace fw
