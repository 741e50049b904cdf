#include "FolderItem.h"

#include "EditField.h"
#include "Exceptions.h"
#include "PictureData.h"
#include "PlainTextReader.h"
#include "RtfReader.h"

#include <QImageReader>
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

std::shared_ptr<FolderItem> FolderItem::Child(const std::string& name) const { return std::make_shared<FolderItem>(path_ / name); }

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

void FolderItem::OpenStyledEditField(EditField& field) const {
    errno = 0;
    const auto bytes = ReadWholeFile(path_);
    field.SetStyledText(LooksLikeRtf(bytes) ? ReadRtf(bytes) : ReadPlainText(bytes));
}

}  // namespace fw
