#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// A menu, a menu item or a separator (an item whose text is "-"). Items are
// shared: the same item may stand in the menu bar and in a context menu.
class MenuItem {
public:
    MenuItem() = default;
    explicit MenuItem(std::string text) : text_(std::move(text)) {}
    virtual ~MenuItem() = default;

    const std::string& Name() const { return name_; }
    void Name(std::string name) { name_ = std::move(name); }

    // The caption; '&' marks the access key, "-" makes a separator line.
    const std::string& Text() const { return text_; }
    void Text(std::string text) { text_ = std::move(text); }
    bool IsSeparator() const { return text_.size() == 1 && text_[0] == '-'; }

    // The shortcut string, such as "Cmd+s" or "Shift+P"; nothing when never set.
    const std::optional<std::string>& KeyboardShortcut() const { return shortcut_; }
    void KeyboardShortcut(std::string shortcut) { shortcut_ = std::move(shortcut); }

    // Whether the enabling pass before a menu is shown may enable the item on
    // its own (when its name has a handler, or the focused field carries it out).
    bool AutoEnable() const { return autoEnable_; }
    void AutoEnable(bool on) { autoEnable_ = on; }

    bool Checked() const { return checked_; }
    void Checked(bool on) { checked_ = on; }

    // A hidden item is left out of its menu and its shortcut does nothing.
    bool Visible() const { return visible_; }
    void Visible(bool on) { visible_ = on; }

    bool Enabled() const { return enabled_; }
    void Enabled(bool on) { enabled_ = on; }
    // Enables the item for the menu about to be shown.
    void Enable() { enabled_ = true; }

    // What the item does when no handler takes its command.
    virtual void DefaultAction() {}

    void Append(std::shared_ptr<MenuItem> item) { children_.push_back(std::move(item)); }
    int Count() const { return static_cast<int>(children_.size()); }
    const std::shared_ptr<MenuItem>& Item(int index) const { return children_.at(static_cast<std::size_t>(index)); }
    // The direct child with this name, or nothing.
    std::shared_ptr<MenuItem> Child(std::string_view name) const;

private:
    std::string name_;
    std::string text_;
    std::optional<std::string> shortcut_;
    bool autoEnable_ = true;
    bool checked_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    std::vector<std::shared_ptr<MenuItem>> children_;
};

// The item whose default action quits the application.
class QuitMenuItem : public MenuItem {
public:
    void DefaultAction() override;
    // What quitting means is the runtime's, which installs it at start-up;
    // menus stay below the runtime that way.
    static void SetQuitAction(std::function<void()> quit);
};

// The application's menu bar: its children are the menus.
class MenuBar : public MenuItem {
public:
    // The node of this name at any depth below the bar, or nothing.
    std::shared_ptr<MenuItem> Lookup(std::string_view name) const;
};

}  // namespace fw
