#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <filesystem>

// Root reads and writes any file whatever its mode: while this lives, files are
// reached as an ordinary user reaches them.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (root_) ::setfsuid(65534);
    }
    ~AsOrdinaryUser() {
        if (root_) ::setfsuid(0);
    }

private:
    const bool root_ = ::geteuid() == 0;
};

// Removes a folder that a test may have locked, opening its folders again first.
inline void RemoveLockedFolder(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder, ignored);
}
