#include "resources/Pictures.h"

#include "tests/support/PictureNames.h"
#include "tests/support/Transcription.h"

#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

// The only test of its executable, so that no picture has been read before
// it: each accessor is seen to look for its folder and then for its file by
// the name transcribed in tests/data/pictures.txt, to find nothing while
// either is missing, to load the file once it is there and to keep it.
TEST(Pictures, EachAccessorLooksForItsFolderAndItsFileByItsExactNameUntilFound) {
    const fs::path resources = PLUMORA_TEST_RESOURCES_DIR, moved = resources.string() + ".moved";
    std::map<std::string, std::string> files;
    for (const auto& row : TranscribedRows("pictures.txt")) files[row.at(0)] = row.at(1);
    ASSERT_EQ(files.size(), 12u);

    fs::remove_all(moved);
    fs::copy(PLUMORA_RESOURCES_DIR, resources, fs::copy_options::overwrite_existing);
    fs::rename(resources, moved);
    for (const auto& [name, file] : files) EXPECT_EQ(PictureNamed(name)(), nullptr) << name;
    fs::create_directories(resources);
    std::set<const fw::Picture*> distinct;
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        const auto accessor = PictureNamed(name);
        ASSERT_NE(accessor, nullptr);
        EXPECT_EQ(accessor(), nullptr);
        fs::rename(moved / file, resources / file);
        const auto loaded = accessor();
        EXPECT_NE(loaded, nullptr);
        fs::remove(resources / file);
        EXPECT_EQ(accessor(), loaded) << "a loaded picture is read again";
        distinct.insert(loaded.get());
        fs::copy_file(PLUMORA_RESOURCES_DIR / fs::path(file), resources / file);
    }
    EXPECT_EQ(distinct.size(), 12u);
    fs::remove_all(moved);
}

}  // namespace
