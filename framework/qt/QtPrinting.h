#pragma once

// Between the framework's print settings and Qt's printer; private to the framework.

#include "framework/ui/Graphics.h"
#include "framework/ui/PrinterSetup.h"

#include <memory>

class QPrinter;

namespace fw {

// Gives the printer the settings, as far as it takes them.
void ApplySetup(const PrinterSetup& setup, QPrinter& printer);
// Sets setup to the printer's settings.
void ReadSetup(const QPrinter& printer, PrinterSetup& setup);

// Starts the print on the printer and gives its first page, or nothing when
// it cannot start: the user is then told the destination and the reason.
std::unique_ptr<Graphics> OpenPage(std::unique_ptr<QPrinter> printer);

}  // namespace fw
