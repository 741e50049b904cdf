#include "shell/QuitGuard.h"

#include "editor/Plumora.h"
#include "framework/ui/Dialogs.h"
#include "framework/ui/Runtime.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Untitled windows all bear the program's name, so they are counted; the
// others are named by their files.
struct Unsaved {
    int untitled = 0;
    std::vector<std::string> named;
};

// Names beyond these are counted too, so that the question stays short.
constexpr std::size_t kNamedAtMost = 3;

Unsaved UnsavedDocuments() {
    Unsaved unsaved;
    for (int i = 0; i < fw::WindowCount(); ++i) {
        const auto* document = dynamic_cast<const class Plumora*>(fw::WindowAt(i));
        if (!document || !document->TextHasChanged) continue;
        if (document->Document || document->PlainTextSource) unsaved.named.push_back(document->DocumentName());
        else ++unsaved.untitled;
    }
    return unsaved;
}

std::string Question(const Unsaved& unsaved) {
    std::vector<std::string> parts;
    if (unsaved.untitled == 1) parts.emplace_back("An untitled document");
    if (unsaved.untitled > 1) parts.push_back(std::to_string(unsaved.untitled) + " untitled documents");
    const auto shown = std::min(unsaved.named.size(), kNamedAtMost);
    parts.insert(parts.end(), unsaved.named.begin(), unsaved.named.begin() + static_cast<long>(shown));
    if (unsaved.named.size() > shown) parts.push_back(std::to_string(unsaved.named.size() - shown) + " more");
    std::string subject;
    for (std::size_t i = 0; i < parts.size(); ++i)
        subject += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    const bool one = unsaved.untitled + unsaved.named.size() == 1;
    return subject + (one ? " has" : " have") + " unsaved changes. Quit anyway and lose them?";
}

}  // namespace

bool QuitMayDiscardUnsavedWork() {
    const auto unsaved = UnsavedDocuments();
    return (unsaved.untitled == 0 && unsaved.named.empty()) || fw::Confirm(Question(unsaved), "Quit", "Cancel");
}
