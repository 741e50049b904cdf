#include "shell/QuitGuard.h"

#include "editor/Plumora.h"
#include "framework/ui/Dialogs.h"
#include "framework/ui/Runtime.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> UnsavedDocuments() {
    std::vector<std::string> titles;
    for (int i = 0; i < fw::WindowCount(); ++i)
        if (const auto* document = dynamic_cast<const class Plumora*>(fw::WindowAt(i));
            document && document->TextHasChanged)
            titles.push_back(document->DocumentName());
    return titles;
}

std::string Question(const std::vector<std::string>& titles) {
    std::string names;
    for (const auto& title : titles) names += (names.empty() ? "\u201C" : ", \u201C") + title + "\u201D";
    const bool one = titles.size() == 1;
    return std::string(one ? "The document " : "The documents ") + names + (one ? " has" : " have") +
        " unsaved changes. Quit anyway and lose them?";
}

}  // namespace

bool QuitMayDiscardUnsavedWork() {
    const auto unsaved = UnsavedDocuments();
    return unsaved.empty() || fw::Confirm(Question(unsaved), "Quit", "Cancel");
}
