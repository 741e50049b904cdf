#pragma once

#include "framework/ui/Dialogs.h"
#include "framework/ui/FolderItem.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace fw::testing {

// Dialogs that answer from queues and record every call. An empty queue
// answers as a user who cancels.
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        std::string dialog;  // "open", "save", "color", "msgbox", "beep"
        std::string filter;
        std::string text;  // the proposed name, the prompt or the message
    };

    std::deque<std::shared_ptr<FolderItem>> openAnswers;
    std::deque<std::shared_ptr<FolderItem>> saveAnswers;
    std::deque<std::optional<Color>> colorAnswers;
    // The colour each colour picker was opened on.
    std::vector<Color> colorStarts;
    std::vector<Call> calls;

    std::shared_ptr<FolderItem> GetOpenFolderItem(const std::string& filter) override;
    std::shared_ptr<FolderItem> GetSaveFolderItem(const std::string& filter, const std::string& name) override;
    bool SelectColor(Color& color, const std::string& prompt) override;
    void MsgBox(const std::string& message) override;
    void Beep() override;

    // The calls of one dialog, in order.
    std::vector<Call> CallsOf(const std::string& dialog) const;
};

// Replaces the framework's dialogs with a fresh scripted set and returns it.
ScriptedDialogs& InstallScriptedDialogs();

}  // namespace fw::testing
