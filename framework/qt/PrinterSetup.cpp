#include "framework/ui/PrinterSetup.h"

#include "framework/ui/Dialogs.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/QtPrinting.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

namespace fw {

namespace {

// The first line of every settings string, followed by its version. A later
// version keeps the keys it shares with this one and may add others, which
// this one skips.
constexpr std::string_view kHeader = "plumora-page-setup ";
constexpr int kVersion = 1;
// The largest paper the settings accept, 200 inches; the smallest is one point.
constexpr double kLargest = 14400;

std::optional<double> Number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// Numbers separated by commas, all of them or none.
std::vector<double> Numbers(std::string_view text, std::size_t count) {
    std::vector<double> numbers;
    while (numbers.size() < count) {
        const auto comma = text.find(',');
        const auto value = Number(text.substr(0, comma));
        if (!value) return {};
        numbers.push_back(*value);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return numbers.size() == count ? numbers : std::vector<double>{};
}

std::string Text(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

void Restore(PrinterSetup& setup, std::string_view key, std::string_view value) {
    if (key == "printer") {
        // A printer that is gone leaves the default one.
        if (!QPrinterInfo::printerInfo(ToQt(value)).isNull()) setup.Printer = std::string(value);
    } else if (key == "paper") {
        const auto size = Numbers(value, 2);
        if (size.size() == 2 && size[0] >= 1 && size[1] >= 1 && size[0] <= kLargest && size[1] <= kLargest) {
            setup.PaperWidth = size[0];
            setup.PaperHeight = size[1];
        }
    } else if (key == "orientation" && (value == "portrait" || value == "landscape")) {
        setup.Landscape = value == "landscape";
    } else if (key == "margins") {
        const auto m = Numbers(value, 4);
        if (m.size() == 4 && m[0] >= 0 && m[1] >= 0 && m[2] >= 0 && m[3] >= 0) setup.Margin = {m[0], m[1], m[2], m[3]};
    }
}

QPageLayout LayoutOf(const PrinterSetup& setup) {
    const QPageSize paper(QSizeF(setup.PaperWidth, setup.PaperHeight), QPageSize::Point, QString(),
                          QPageSize::FuzzyMatch);
    const auto& m = setup.Margin;
    return QPageLayout(paper, setup.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(m.left, m.top, m.right, m.bottom), QPageLayout::Point);
}

}  // namespace

PrinterSetup::PrinterSetup() {
    const QPrinter printer;
    ReadSetup(printer, *this);
    Printer.clear();
}

std::string PrinterSetup::SetupString() const {
    std::ostringstream out;
    out << kHeader << kVersion << '\n'
        << "printer=" << Printer << '\n'
        << "paper=" << Text(PaperWidth) << ',' << Text(PaperHeight) << '\n'
        << "orientation=" << (Landscape ? "landscape" : "portrait") << '\n'
        << "margins=" << Text(Margin.left) << ',' << Text(Margin.top) << ',' << Text(Margin.right) << ','
        << Text(Margin.bottom) << '\n';
    return out.str();
}

void PrinterSetup::SetupString(std::string_view settings) {
    PrinterSetup restored;
    if (settings.starts_with(kHeader) &&
        Number(settings.substr(kHeader.size(), settings.find('\n') - kHeader.size()))) {
        std::size_t start = 0;
        while (start < settings.size()) {
            const auto end = std::min(settings.find('\n', start), settings.size());
            const auto line = settings.substr(start, end - start);
            const auto equals = line.find('=');
            if (equals != std::string_view::npos) Restore(restored, line.substr(0, equals), line.substr(equals + 1));
            start = end + 1;
        }
    }
    // Margins that leave no room on the paper are not kept.
    if (restored.Width() < 1 || restored.Height() < 1) restored.Margin = PrinterSetup().Margin;
    *this = restored;
}

bool PrinterSetup::PageSetupDialog(Window*) { return CurrentDialogs().PageSetupDialog(*this); }

int PrinterSetup::Width() const {
    return static_cast<int>(std::lround(LayoutOf(*this).paintRect(QPageLayout::Point).width()));
}

int PrinterSetup::Height() const {
    return static_cast<int>(std::lround(LayoutOf(*this).paintRect(QPageLayout::Point).height()));
}

void ApplySetup(const PrinterSetup& setup, QPrinter& printer) {
    if (!setup.Printer.empty()) printer.setPrinterName(ToQt(setup.Printer));
    const auto layout = LayoutOf(setup);
    // A printer that cannot print as near to the edge keeps its own margins.
    if (!printer.setPageLayout(layout)) {
        printer.setPageSize(layout.pageSize());
        printer.setPageOrientation(layout.orientation());
    }
}

void ReadSetup(const QPrinter& printer, PrinterSetup& setup) {
    const auto layout = printer.pageLayout();
    const auto paper = layout.pageSize().size(QPageSize::Point);
    setup.Printer = printer.outputFormat() == QPrinter::NativeFormat ? FromQt(printer.printerName()) : std::string();
    setup.PaperWidth = paper.width();
    setup.PaperHeight = paper.height();
    setup.Landscape = layout.orientation() == QPageLayout::Landscape;
    const auto margins = layout.margins(QPageLayout::Point);
    setup.Margin = {margins.left(), margins.top(), margins.right(), margins.bottom()};
}

}  // namespace fw
