#pragma once

#include "framework/ui/Dialogs.h"
#include "framework/ui/FolderItem.h"
#include "framework/ui/Graphics.h"
#include "framework/ui/PrinterSetup.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fw::testing {

// Dialogs that answer from queues and record every call. An empty queue
// answers as a user who cancels.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        std::string dialog;  // "open", "save", "color", "msgbox", "confirm", "beep", "pagesetup", "print"
        std::string text;    // the proposed name, the prompt, the message or the settings given
    };
    // A change the user makes to the settings in a dialog.
    using SetupChange = std::function<void(PrinterSetup&)>;
    // A confirmed print: where it goes and what the user changed in the dialog.
    struct PrintAnswer {
        std::string pdfPath;  // a real PDF file; empty: the recorder
        SetupChange change;
    };
    // What the recorder received from one print, in points.
    struct Printed {
        struct Block {
            double x = 0, y = 0, width = 0, height = 0;
            bool operator==(const Block&) const = default;
        };
        std::vector<Block> blocks;
        int nextPages = 0;
    };

    std::deque<std::shared_ptr<FolderItem>> openAnswers;
    std::deque<std::shared_ptr<FolderItem>> saveAnswers;
    std::deque<std::optional<Color>> colorAnswers;
    // The colour each colour picker was opened on.
    std::vector<Color> colorStarts;
    std::deque<bool> confirmAnswers;
    std::deque<SetupChange> pageSetupAnswers;  // an empty change cancels
    std::deque<std::optional<PrintAnswer>> printAnswers;
    std::vector<Call> calls;
    std::deque<Printed> printed;  // one per print that went to the recorder

    std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) override;
    std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name) override;
    bool SelectColor(Color& color, const std::string& prompt) override;
    void MsgBox(const std::string& message) override;
    bool Confirm(const std::string& message, const std::string& confirm, const std::string& cancel) override;
    void Beep() override;
    bool PageSetupDialog(PrinterSetup& setup) override;
    std::unique_ptr<Graphics> OpenPrinterDialog(PrinterSetup* setup) override;

    // The calls of one dialog, in order.
    std::vector<Call> CallsOf(const std::string& dialog) const;
};

// Replaces the framework's dialogs with a fresh scripted set and returns it.
ScriptedDialogs& InstallScriptedDialogs();

}  // namespace fw::testing
