#pragma once

// The toolkit's own dialogs; private to the framework.

#include "framework/ui/Dialogs.h"

namespace fw {

class QtDialogs : public Dialogs {
public:
    std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) override;
    std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name) override;
    bool SelectColor(Color& color, const std::string& prompt) override;
    void MsgBox(const std::string& message) override;
    bool Confirm(const std::string& message, const std::string& confirm, const std::string& cancel) override;
    void Beep() override;
    bool PageSetupDialog(PrinterSetup& setup) override;
    std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup) override;
};

}  // namespace fw
