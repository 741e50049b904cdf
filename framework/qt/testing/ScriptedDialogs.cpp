#include "ScriptedDialogs.h"

namespace fw::testing {

namespace {

template <class T>
T Next(std::deque<T>& answers) {
    if (answers.empty()) return T{};
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace

std::shared_ptr<FolderItem> ScriptedDialogs::GetOpenFolderItem(const std::string& filter) {
    calls.push_back({"open", filter, ""});
    return Next(openAnswers);
}

std::shared_ptr<FolderItem> ScriptedDialogs::GetSaveFolderItem(const std::string& filter, const std::string& name) {
    calls.push_back({"save", filter, name});
    return Next(saveAnswers);
}

bool ScriptedDialogs::SelectColor(Color& color, const std::string& prompt) {
    calls.push_back({"color", "", prompt});
    colorStarts.push_back(color);
    const auto answer = Next(colorAnswers);
    if (answer) color = *answer;
    return answer.has_value();
}

void ScriptedDialogs::MsgBox(const std::string& message) { calls.push_back({"msgbox", "", message}); }

void ScriptedDialogs::Beep() { calls.push_back({"beep", "", ""}); }

std::vector<ScriptedDialogs::Call> ScriptedDialogs::CallsOf(const std::string& dialog) const {
    std::vector<Call> found;
    for (const auto& call : calls)
        if (call.dialog == dialog) found.push_back(call);
    return found;
}

ScriptedDialogs& InstallScriptedDialogs() {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto& installed = *dialogs;
    SetDialogs(std::move(dialogs));
    return installed;
}

}  // namespace fw::testing
