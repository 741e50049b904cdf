#pragma once

#include <filesystem>
#include <string_view>

namespace fw {

// Puts bytes at path without ever leaving a half-written file there: they go
// to a temporary file beside it, which is flushed and renamed over it. Links
// are followed to the file they lead to; the file keeps its permissions and
// owner. Throws IOException naming the file and the reason when it cannot be
// written, also when the user may not write the old file; the old file is
// then untouched. A successful save removes what saves of the same file that
// were killed midway left beside it.
void ReplaceFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace fw
