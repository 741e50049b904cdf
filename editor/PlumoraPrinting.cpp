#include "Plumora.h"

#include "framework/ui/Dialogs.h"
#include "framework/ui/Graphics.h"
#include "framework/ui/PrinterSetup.h"

namespace {

// Page units are points: the block sits half an inch in from the printable
// area's corner.
constexpr int kTakenOffSetupPage = 36;
constexpr int kPageWidthWithoutSetup = 540;
constexpr int kPageHeightWithoutSetup = 648;
constexpr int kTakenOffForBlock = 48;
constexpr int kBlockX = 36;
constexpr int kBlockY = 36;

}  // namespace

bool Plumora::FilePageSetup_Action() {
    fw::PrinterSetup setup;
    if (!PageSetup.empty()) setup.SetupString(PageSetup);
    if (setup.PageSetupDialog()) PageSetup = setup.SetupString();
    return true;
}

bool Plumora::FilePrint_Action() {
    fw::PrinterSetup setup;
    int width = kPageWidthWithoutSetup;
    int height = kPageHeightWithoutSetup;
    std::unique_ptr<fw::Graphics> page;
    if (!PageSetup.empty()) {
        setup.SetupString(PageSetup);
        width = setup.Width() - kTakenOffSetupPage;
        height = setup.Height() - kTakenOffSetupPage;
        page = fw::OpenPrinterDialog(&setup);
    } else {
        page = fw::OpenPrinterDialog(nullptr);
    }
    if (!page) return true;
    auto printer = EditField1()->StyledTextPrinter(*page, width - kTakenOffForBlock);
    while (!printer->Eof()) {
        printer->DrawBlock(kBlockX, kBlockY, height - kTakenOffForBlock);
        if (!printer->Eof()) page->NextPage();
    }
    return true;
}
