#pragma once

#include <string>
#include <string_view>

namespace fw {

class Window;

// The settings of a page: printer, paper, orientation and margins. Page units
// are points, 1/72 inch, whatever the printer's resolution: a Letter page is
// 612 by 792, and 36 is half an inch.
class PrinterSetup {
public:
    // The default printer's settings, or the locale's paper when there is none.
    PrinterSetup();

    // The settings as text of the framework's own, to keep and to give back.
    std::string SetupString() const;
    // Restores what it can from a string that SetupString gave; an empty or
    // damaged string, one from a later version or one naming a printer that
    // is gone leaves the rest at the defaults. It never fails.
    void SetupString(std::string_view settings);

    // Shows the page set-up dialog for these settings; true, with the
    // settings changed, when the user confirms it.
    bool PageSetupDialog(Window* parent = nullptr);

    // The printable area, the page inside its margins as it lies, rounded to
    // whole points. The page Graphics of a print has its origin at the area's
    // top left corner.
    int Width() const;
    int Height() const;

    std::string Printer;                         // the printer's name; empty: the default one
    double PaperWidth = 612, PaperHeight = 792;  // the paper upright
    bool Landscape = false;
    struct Margins {
        double left = 0, top = 0, right = 0, bottom = 0;
        bool operator==(const Margins&) const = default;
    } Margin;  // of the page as it lies
};

}  // namespace fw
