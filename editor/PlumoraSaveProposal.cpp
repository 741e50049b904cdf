#include "Plumora.h"

#include <string_view>

namespace {

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace

std::string Plumora::DocumentName() const { return Trimmed(Title()); }

std::string Plumora::ProposedSavePath(const std::string& name) const {
    if (!Document && PlainTextSource) return std::filesystem::path(PlainTextSource->Path()).replace_extension(".rtf");
    const auto folder = Document ? Document->Parent() : fw::DocumentsFolder();
    const auto file = Trimmed(name);
    return folder ? (folder->Path() / file).string() : file;
}
