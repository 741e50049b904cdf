#include "framework/qt/ReplaceFile.h"

#include "framework/model/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// A save writes a hidden temporary file beside the document, named
// ".NAME.XXXXXX" (NAME the document's file name, cut to 200 bytes; XXXXXX six
// letters and digits chosen by mkstemp), and renames it over the document.
// From just after creating that file until after the rename, the save holds
// an exclusive advisory lock (flock) on it. A save killed in between leaves
// the file behind, no longer locked. So after each successful save of a
// document, every regular file beside it whose name fits that pattern exactly
// and that can be locked at once is a leftover of a killed save, and is
// removed; a file whose lock is held belongs to a save still under way and is
// kept. A lock is taken on whatever file a name leads to at that moment, so
// both sides check that the name still leads to the file they locked.

namespace fw {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void SaveFailed(const fs::path& path, const std::string& reason) {
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

// Saving through a link replaces the file it leads to, not the link.
fs::path FollowLinks(const fs::path& path) {
    std::error_code error;
    auto target = path;
    for (int hops = 0; fs::is_symlink(target, error); ++hops) {
        if (hops == 40) SaveFailed(path, "its links go round in a circle");
        const auto next = fs::read_symlink(target, error);
        if (error) SaveFailed(path, error.message());
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    if (fs::is_directory(target, error)) SaveFailed(path, "it is a folder");
    return target;
}

// The temporary files of saves of target are named this and six characters.
std::string TemporaryPrefix(const fs::path& target) { return "." + target.filename().string().substr(0, 200) + "."; }

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    }
    return true;
}

// Whether name, links not followed, is the file open at fd.
bool NamesFile(const std::string& name, int fd) {
    struct stat named {};
    struct stat opened {};
    return ::lstat(name.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino;
}

// A new temporary file in folder, open and locked. Where the file system
// has no locks, no save can lock a leftover either, and none is removed.
std::pair<int, std::string> CreateTemporary(const fs::path& path, const fs::path& folder, const std::string& prefix) {
    for (;;) {
        std::string name = (folder / (prefix + "XXXXXX")).string();
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            const int code = errno;
            // The file itself may well be writable: the folder is what refuses.
            if (code == EACCES || code == EPERM)
                SaveFailed(
                    path, "its folder \"" + folder.string() + "\" may not be written to (" + std::strerror(code) + ")");
            SaveFailed(path, std::strerror(code));
        }
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        // A save cleaning up may have removed it before it was locked.
        if (NamesFile(name, fd)) return {fd, std::move(name)};
        ::close(fd);
    }
}

// Gives the temporary file its owner, mode and bytes, on disk; 0, or the
// error number.
int FillTemporary(int fd, std::string_view bytes, const struct stat* old) {
    // A new file gets the permissions any new file of the user gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = old ? old->st_mode & 07777 : 0666 & ~mask;
    // The replacement belongs to the old file's owner and group, so that
    // whoever could read the file still can. Only root may give a file away;
    // anyone else keeps at least the group where they belong to it. Changing
    // the owner clears the set-user-ID bits, so the mode comes after.
    if (old && ::fchown(fd, old->st_uid, old->st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    if (::fchmod(fd, mode) != 0) return errno;
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) return errno;
    return 0;
}

// Removes the leftovers of killed saves from folder, by the rule above.
void RemoveLeftovers(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().string();
        std::error_code gone;
        if (!IsTemporaryName(entry->path().filename().string(), prefix) ||
            entry->symlink_status(gone).type() != fs::file_type::regular)
            continue;
        const int fd = ::open(name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && NamesFile(name, fd)) ::unlink(name.c_str());
        ::close(fd);
    }
}

}  // namespace

void ReplaceFile(const fs::path& path, std::string_view bytes) {
    const auto target = FollowLinks(path);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    // Renaming would replace even a file the user may not write: a locked
    // file is refused as writing into it would be.
    if (existed && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) SaveFailed(path, std::strerror(errno));
    const auto folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const auto prefix = TemporaryPrefix(target);
    const auto [fd, temporary] = CreateTemporary(path, folder, prefix);
    int failure = FillTemporary(fd, bytes, existed ? &old : nullptr);
    if (!failure && ::rename(temporary.c_str(), target.c_str()) != 0) failure = errno;
    if (failure) ::unlink(temporary.c_str());
    // Only now may the lock go. The bytes are on disk: fsync has reported
    // any error of the writes, which close would report again.
    ::close(fd);
    if (failure) SaveFailed(path, std::strerror(failure));
    // The rename itself is on disk only once the folder is.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    RemoveLeftovers(folder, prefix);
}

}  // namespace fw
