#include "framework/menus/MenuHandlers.h"

namespace fw {

std::optional<bool> MenuHandlers::Run(std::string_view name) const {
    const auto found = handlers_.find(name);
    if (found == handlers_.end()) return std::nullopt;
    return found->second();
}

}  // namespace fw
