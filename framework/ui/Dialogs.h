#pragma once

#include "framework/text/Color.h"
#include "framework/ui/Graphics.h"

#include <memory>
#include <string>

namespace fw {

class FolderItem;
class PrinterSetup;
class Window;

// The platform's dialogs. The framework calls them through one instance that
// tests replace with a scripted one (SetDialogs), so that no modal dialog
// ever waits for a person there.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The file chosen in the open dialog, or nothing when cancelled.
    virtual std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) = 0;
    // The file chosen in the save dialog, which proposes the name: a file
    // name, or a path whose folder the dialog opens in. Nothing when cancelled.
    virtual std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name) = 0;
    // The colour picker; true, with color set, when the user confirms.
    virtual bool SelectColor(Color& color, const std::string& prompt) = 0;
    virtual void MsgBox(const std::string& message) = 0;
    // A modal question with two buttons; cancel is the default and Escape's
    // answer. True when the user chose the confirming button.
    virtual bool Confirm(const std::string& message, const std::string& confirm, const std::string& cancel) = 0;
    virtual void Beep() = 0;
    // The page set-up dialog; true, with setup changed, when the user confirms.
    virtual bool PageSetupDialog(PrinterSetup& setup) = 0;
    // The print dialog, starting from setup or, with none, from the default
    // printer's settings; what the user chooses there is written back to
    // setup. The first page to draw on, or nothing when the user cancels or
    // when the print cannot start, which the user is then told with the
    // destination and the reason. Releasing the page sends the job.
    virtual std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup) = 0;
};

// Installs the dialogs the framework uses from now on; the toolkit's own by default.
void SetDialogs(std::unique_ptr<Dialogs> dialogs);
Dialogs& CurrentDialogs();

inline std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) {
    return CurrentDialogs().GetOpenFolderItem(filter);
}
inline std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name) {
    return CurrentDialogs().GetSaveFolderItem(filter, name);
}
inline bool SelectColor(Color& color, const std::string& prompt) { return CurrentDialogs().SelectColor(color, prompt); }
inline void MsgBox(const std::string& message) { CurrentDialogs().MsgBox(message); }
inline bool Confirm(const std::string& message, const std::string& confirm, const std::string& cancel) {
    return CurrentDialogs().Confirm(message, confirm, cancel);
}
inline void Beep() { CurrentDialogs().Beep(); }
inline std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup, Window* /*parent*/ = nullptr) {
    return CurrentDialogs().OpenPrinterDialog(setup);
}

}  // namespace fw
