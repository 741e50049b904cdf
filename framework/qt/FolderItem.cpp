#include "framework/ui/FolderItem.h"

#include "framework/ui/EditField.h"
#include "framework/model/Exceptions.h"
#include "framework/qt/PictureData.h"
#include "framework/text/PlainTextReader.h"
#include "framework/text/RtfReader.h"
#include "framework/text/RtfWriter.h"

#include <QImageReader>
#include <QStandardPaths>
#include <QString>

#include <cerrno>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

[[noreturn]] void SaveFailed(const std::filesystem::path& path, const std::string& reason) {
    throw IOException("\"" + path.filename().string() + "\" could not be saved: " + reason + ".");
}

// Writes all of bytes to the descriptor; false with errno set when it can't.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Puts bytes at path without ever leaving a half-written file there.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes) {
    // Saving through a link replaces the file it points to, not the link.
    std::error_code error;
    auto target = path;
    for (int hops = 0; std::filesystem::is_symlink(target, error); ++hops) {
        if (hops == 40) SaveFailed(path, "its links go round in a circle");
        const auto next = std::filesystem::read_symlink(target, error);
        if (error) SaveFailed(path, error.message());
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    if (std::filesystem::is_directory(target, error)) SaveFailed(path, "it is a folder");

    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    // Renaming would replace even a file the user may not write: a locked
    // file is refused as writing into it would be.
    if (existed && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) SaveFailed(path, std::strerror(errno));
    auto folder = target.parent_path();
    if (folder.empty()) folder = ".";
    // The temporary name must fit the folder's limit on names too: a long
    // file name is cut short in it.
    const std::string stem = target.filename().string().substr(0, 200);
    std::string temporary = (folder / ("." + stem + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) SaveFailed(path, std::strerror(errno));

    auto fail = [&](int code) {
        ::close(fd);
        ::unlink(temporary.c_str());
        SaveFailed(path, std::strerror(code));
    };
    // A new file gets the permissions any new file of the user gets.
    mode_t mode = old.st_mode & 07777;
    if (!existed) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // The replacement belongs to the old file's owner and group, so that
    // whoever could read the file still can. Only root may give a file away;
    // anyone else keeps at least the group where they belong to it. Changing
    // the owner clears the set-user-ID bits, so the mode comes after.
    if (existed && ::fchown(fd, old.st_uid, old.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    if (::fchmod(fd, mode) != 0) fail(errno);
    if (!WriteAll(fd, bytes)) fail(errno);
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        SaveFailed(path, std::strerror(code));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        SaveFailed(path, std::strerror(code));
    }
    // The rename itself is on disk only once the folder is.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
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
