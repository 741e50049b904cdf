#include "framework/ui/FolderItem.h"

#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/qt/PictureData.h"
#include "framework/qt/ReplaceFile.h"
#include "framework/text/PlainTextReader.h"
#include "framework/text/RtfReader.h"
#include "framework/text/RtfWriter.h"

#include <QImageReader>
#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace fw {

namespace {

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw IOException("\"" + path.filename().string() + "\" could not be opened: it is a folder.");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const std::string reason = errno ? std::strerror(errno) : "it cannot be read";
        throw IOException("\"" + path.filename().string() + "\" could not be opened: " + reason + ".");
    }
    // Read by blocks rather than through the stream buffer: a failed read
    // then marks the stream bad instead of passing for the end of the file.
    std::string bytes;
    char block[1 << 16];
    errno = 0;
    while (in) {
        in.read(block, sizeof block);
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        const std::string reason = errno ? std::strerror(errno) : "it could not be read to its end";
        throw IOException("\"" + path.filename().string() + "\" could not be read: " + reason + ".");
    }
    return bytes;
}

}  // namespace

std::string FolderItem::Name() const { return path_.filename().string(); }

std::shared_ptr<FolderItem> FolderItem::Parent() const {
    auto parent = path_.parent_path();
    if (parent.empty() || parent == path_) return nullptr;
    return std::make_shared<FolderItem>(parent);
}

std::shared_ptr<FolderItem> FolderItem::Child(const std::string& name) const {
    return std::make_shared<FolderItem>(path_ / name);
}

bool FolderItem::Exists() const {
    std::error_code error;
    return std::filesystem::exists(path_, error);
}

bool FolderItem::Directory() const {
    std::error_code error;
    return std::filesystem::is_directory(path_, error);
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const {
    QImageReader reader(QString::fromStdString(path_.string()));
    auto pixels = std::make_unique<Picture::Pixels>();
    if (!reader.read(&pixels->image) || pixels->image.isNull()) return nullptr;
    return std::make_shared<Picture>(std::move(pixels));
}

DocumentFormat FolderItem::OpenStyledEditField(EditField& field) const {
    errno = 0;
    const auto bytes = ReadWholeFile(path_);
    const bool styled = LooksLikeRtf(bytes);
    // A program or an image would open as a page of garbage, which a save
    // would then write over the file.
    if (styled ? bytes.find('\0') != std::string::npos : !IsPlainText(bytes))
        throw IOException("\"" + Name() + "\" could not be opened: it is not a text or RTF document.");
    field.SetStyledText(styled ? ReadRtf(bytes) : ReadPlainText(bytes));
    return styled ? DocumentFormat::StyledText : DocumentFormat::PlainText;
}

std::shared_ptr<FolderItem> DocumentsFolder() {
    for (const auto location : {QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation}) {
        auto folder = std::make_shared<FolderItem>(QStandardPaths::writableLocation(location).toStdString());
        if (!folder->Path().empty() && folder->Directory()) return folder;
    }
    return nullptr;
}

void FolderItem::SaveStyledEditField(const EditField& field) const {
    ReplaceFile(path_, WriteRtf(field.GetStyledText()));
}

}  // namespace fw
