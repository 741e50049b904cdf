#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

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
