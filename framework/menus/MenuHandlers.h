#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Menu-command handlers bound by item name. A handler takes nothing and
// returns true when it handled the command.
class MenuHandlers {
public:
    using Handler = std::function<bool()>;

    void Add(std::string name, Handler handler) { handlers_[std::move(name)] = std::move(handler); }
    bool Has(std::string_view name) const { return handlers_.find(name) != handlers_.end(); }
    // The handler's result, or nothing when no handler is bound to the name.
    std::optional<bool> Run(std::string_view name) const;

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace fw
