#include "resources/Pictures.h"

#include "framework/ui/FolderItem.h"
#include "framework/ui/Runtime.h"

#include <array>
#include <string_view>

namespace {

struct PictureSlot {
    std::string_view file;
    std::shared_ptr<fw::Picture> loaded;
};

// The pictures in table order; a slot, once loaded, is kept for good.
std::array<PictureSlot, 12> slots{{
    {"buttoncen1.bmp", nullptr},
    {"buttonmax1.bmp", nullptr},
    {"buttonmin2.bmp", nullptr},
    {"buttonyes6.bmp", nullptr},
    {"buttonno4.bmp", nullptr},
    {"buttonexit2.bmp", nullptr},
    {"buttoncancel3.png", nullptr},
    {"Picture 2.png", nullptr},
    {"bannerplumora51.bmp", nullptr},
    {"colorbutton2.png", nullptr},
    {"bannerplumora4.bmp", nullptr},
    {"buttonfullscreen.bmp", nullptr},
}};

std::shared_ptr<fw::Picture> Load(std::size_t index) {
    auto& slot = slots[index];
    if (slot.loaded) return slot.loaded;
    const auto folder = fw::GetApplicationBundleResources();
    if (!folder) return nullptr;
    const auto file = folder->Child(std::string(slot.file));
    slot.loaded = file ? file->OpenAsPicture() : nullptr;
    return slot.loaded;
}

}  // namespace

std::shared_ptr<fw::Picture> buttoncen1() { return Load(0); }
std::shared_ptr<fw::Picture> buttonmax1() { return Load(1); }
std::shared_ptr<fw::Picture> buttonmin2() { return Load(2); }
std::shared_ptr<fw::Picture> buttonyes6() { return Load(3); }
std::shared_ptr<fw::Picture> buttonno4() { return Load(4); }
std::shared_ptr<fw::Picture> buttonexit2() { return Load(5); }
std::shared_ptr<fw::Picture> buttoncancel3() { return Load(6); }
std::shared_ptr<fw::Picture> Picture2() { return Load(7); }
std::shared_ptr<fw::Picture> bannerplumora51() { return Load(8); }
std::shared_ptr<fw::Picture> colorbutton2() { return Load(9); }
std::shared_ptr<fw::Picture> bannerplumora4() { return Load(10); }
std::shared_ptr<fw::Picture> buttonfullscreen() { return Load(11); }
