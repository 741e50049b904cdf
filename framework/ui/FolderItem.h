#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace fw {

class EditField;
class Picture;

// What a document file held when it was read.
enum class DocumentFormat { StyledText, PlainText };

// A reference to a file or folder, which need not exist.
class FolderItem {
public:
    explicit FolderItem(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }
    // The last part of the path, as shown to the user.
    std::string Name() const;
    // The folder that holds this one; nothing at the root.
    std::shared_ptr<FolderItem> Parent() const;
    std::shared_ptr<FolderItem> Child(const std::string& name) const;
    bool Exists() const;
    bool Directory() const;

    // The file's image (BMP, PNG and the other formats the toolkit reads);
    // nothing when it is missing or not an image.
    std::shared_ptr<Picture> OpenAsPicture() const;

    // Replaces the field's text and styles with the file's: styled text (RTF)
    // or plain text, as the result tells. Throws IOException naming the file
    // and the reason when it cannot be read, or when it is neither (RTF with
    // NUL bytes, or not text: IsPlainText); the field is then unchanged.
    DocumentFormat OpenStyledEditField(EditField& field) const;

    // Writes the field's text and styles as styled text (RTF), replacing the
    // file. The old file stays whole until the new content is safely on disk:
    // it is written to a temporary file in the same folder, flushed, and
    // renamed over the old one, whose permissions and owner it keeps. Throws
    // IOException naming the file and the reason when it cannot be written,
    // also when the user may not write the old file; the old file is then
    // untouched. A successful save removes the temporary files that saves of
    // the same file left behind when they were killed midway.
    void SaveStyledEditField(const EditField& field) const;

private:
    std::filesystem::path path_;
};

// The user's documents folder, else the home folder; nothing when neither exists.
std::shared_ptr<FolderItem> DocumentsFolder();

}  // namespace fw
