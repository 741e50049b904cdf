#include "framework/qt/MenuRouting.h"

#include "framework/ui/Application.h"
#include "framework/ui/EditField.h"
#include "framework/menus/MenuItem.h"
#include "framework/qt/QtConvert.h"
#include "framework/ui/Runtime.h"
#include "framework/qt/RuntimeState.h"
#include "framework/menus/Shortcut.h"
#include "framework/qt/WindowFrame.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <functional>
#include <string_view>

namespace fw {

namespace {

// The editing items that a focused text field carries out itself: whether
// it can now, and the doing.
struct EditingItem {
    std::string_view name;
    bool (*can)(const EditField&);
    void (*carryOut)(EditField&);
};

constexpr EditingItem kEditingItems[] = {
    {"EditCut", [](const EditField& f) { return f.CanCut(); }, [](EditField& f) { f.Cut(); }},
    {"EditCopy", [](const EditField& f) { return f.HasSelection(); }, [](EditField& f) { f.Copy(); }},
    {"EditPaste", [](const EditField& f) { return f.CanPaste(); }, [](EditField& f) { f.Paste(); }},
    {"EditClear", [](const EditField& f) { return f.CanCut(); }, [](EditField& f) { f.Clear(); }},
    {"EditSelectAll", [](const EditField&) { return true; }, [](EditField& f) { f.SelectAll(); }},
};

const EditingItem* EditingItemNamed(std::string_view name) {
    for (const auto& item : kEditingItems)
        if (item.name == name) return &item;
    return nullptr;
}

void ForEachItem(MenuItem& parent, const std::function<void(MenuItem&)>& visit) {
    for (int i = 0; i < parent.Count(); ++i) {
        visit(*parent.Item(i));
        ForEachItem(*parent.Item(i), visit);
    }
}

// A menu that holds items is usable while any of its visible items is.
bool EnableSubmenus(MenuItem& item) {
    if (item.Count() == 0) return item.Enabled() && item.Visible();
    bool any = false;
    for (int i = 0; i < item.Count(); ++i) any = EnableSubmenus(*item.Item(i)) || any;
    item.Enabled(any);
    return any && item.Visible();
}

std::shared_ptr<MenuBar> Bar() {
    auto* app = GetAppObject();
    return app ? app->MenuBar() : nullptr;
}

QString ShortcutText(const MenuItem& item) {
    if (!item.KeyboardShortcut()) return {};
    const auto shortcut = ParseShortcut(*item.KeyboardShortcut());
    if (!shortcut) return {};
    QKeyCombination combination(Qt::ControlModifier | (shortcut->shift ? Qt::ShiftModifier : Qt::NoModifier),
                                static_cast<Qt::Key>(shortcut->key));
    return QKeySequence(combination).toString(QKeySequence::NativeText);
}

void FillMenu(QMenu* menu, const MenuItem& parent);

void Sync(QMenu* menu) {
    for (auto* action : menu->actions()) {
        const auto item = action->data().value<std::shared_ptr<MenuItem>>();
        if (!item) continue;
        action->setVisible(item->Visible());
        action->setEnabled(item->Enabled());
        action->setCheckable(item->Checked());
        action->setChecked(item->Checked());
    }
}

QAction* AddItem(QMenu* menu, const std::shared_ptr<MenuItem>& item) {
    if (item->IsSeparator()) {
        auto* separator = menu->addSeparator();
        separator->setData(QVariant::fromValue(item));
        return separator;
    }
    if (item->Count() > 0) {
        auto* submenu = menu->addMenu(ToQt(item->Text()));
        FillMenu(submenu, *item);
        submenu->menuAction()->setData(QVariant::fromValue(item));
        return submenu->menuAction();
    }
    QString text = ToQt(item->Text());
    if (const auto shortcut = ShortcutText(*item); !shortcut.isEmpty()) text += '\t' + shortcut;
    auto* action = menu->addAction(text);
    action->setData(QVariant::fromValue(item));
    QObject::connect(action, &QAction::triggered, [item] { Dispatch(item); });
    return action;
}

void FillMenu(QMenu* menu, const MenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) AddItem(menu, parent.Item(i));
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        RunEnablingPass();
        Sync(menu);
    });
}

// The letter or digit that the physical key carries on a US keyboard, by its
// X keyboard code (evdev code + 8, as X11 and Wayland both report it).
char32_t UsKeyAt(quint32 scanCode) {
    static constexpr std::string_view kRows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    static constexpr quint32 kFirstCode[] = {10, 24, 38, 52};
    for (std::size_t row = 0; row < std::size(kRows); ++row)
        if (scanCode >= kFirstCode[row] && scanCode < kFirstCode[row] + kRows[row].size())
            return static_cast<char32_t>(kRows[row][scanCode - kFirstCode[row]]);
    return 0;
}

// The key a shortcut names, from a key event. A Latin letter or a digit names
// itself. Otherwise (a shifted digit arrives as the symbol on its key, a
// Cyrillic or Greek layout gives its own letters) the key's place on the
// keyboard names it, as on a US keyboard; without a scan code, the symbols of
// a US keyboard's shifted digits are taken back to the digit.
char32_t KeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<char32_t>(key);
    if (const char32_t placed = UsKeyAt(event.nativeScanCode())) return placed;
    static constexpr std::pair<int, char32_t> kShifted[] = {
        {Qt::Key_Exclam, U'1'},    {Qt::Key_At, U'2'},          {Qt::Key_NumberSign, U'3'}, {Qt::Key_Dollar, U'4'},
        {Qt::Key_Percent, U'5'},   {Qt::Key_AsciiCircum, U'6'}, {Qt::Key_Ampersand, U'7'},  {Qt::Key_Asterisk, U'8'},
        {Qt::Key_ParenLeft, U'9'}, {Qt::Key_ParenRight, U'0'}};
    if (event.modifiers() & Qt::ShiftModifier)
        for (const auto& [symbol, digit] : kShifted)
            if (key == symbol) return digit;
    if (key > 0x20 && key < 0x7F) return static_cast<char32_t>(key);
    return 0;
}

// The items that carry this shortcut, in the order of the bar.
std::vector<std::shared_ptr<MenuItem>> ItemsWithShortcut(const Shortcut& wanted) {
    std::vector<std::shared_ptr<MenuItem>> found;
    std::function<void(const MenuItem&)> walk = [&](const MenuItem& parent) {
        for (int i = 0; i < parent.Count(); ++i) {
            const auto& item = parent.Item(i);
            if (item->KeyboardShortcut())
                if (const auto shortcut = ParseShortcut(*item->KeyboardShortcut()); shortcut && *shortcut == wanted)
                    found.push_back(item);
            walk(*item);
        }
    };
    if (const auto bar = Bar()) walk(*bar);
    return found;
}

// Of the items with the shortcut, the visible and enabled one takes it, the
// first in the bar when several are.
std::shared_ptr<MenuItem> ItemTaking(const std::vector<std::shared_ptr<MenuItem>>& candidates) {
    RunEnablingPass();
    for (const auto& item : candidates)
        if (item->Visible() && item->Enabled()) return item;
    return nullptr;
}

class ShortcutFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
        auto* widget = qobject_cast<QWidget*>(receiver);
        if (!widget || !dynamic_cast<Window::Frame*>(widget->window())) return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Menu shortcuts are Ctrl, with or without Shift; Alt and Meta make other keys.
        if (!(key.modifiers() & Qt::ControlModifier) || (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
            return false;
        const Shortcut wanted{true, (key.modifiers() & Qt::ShiftModifier) != 0, KeyOf(key)};
        if (wanted.key == 0) return false;
        const auto candidates = ItemsWithShortcut(wanted);
        if (candidates.empty()) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Keep the field from claiming the key for itself: it is the menus'.
            event->accept();
            return false;
        }
        // A disabled or hidden item's shortcut does nothing, and the key goes no further.
        if (auto item = ItemTaking(candidates)) Dispatch(item);
        return true;
    }
};

}  // namespace

void InstallMenuRouting() { qApp->installEventFilter(new ShortcutFilter(qApp)); }

EditField* FocusedField() {
    auto* front = WindowAt(0);
    if (!front) return nullptr;
    // Until the desktop activates the front window (it may hold a new window
    // back), the keyboard focus is elsewhere: the control the window gives it
    // to then is the one meant.
    auto* focus = QApplication::focusWidget();
    if (!focus || focus->window() != &front->Widgets()) focus = front->Widgets().focusWidget();
    if (!focus) return nullptr;
    for (int i = 0; i < front->ControlCount(); ++i) {
        auto* field = dynamic_cast<EditField*>(&front->ControlAt(i));
        if (field && ViewOf(*field)->isAncestorOf(focus)) return field;
        if (field && ViewOf(*field) == focus) return field;
    }
    return nullptr;
}

void RunEnablingPass() {
    const auto bar = Bar();
    if (!bar) return;
    Guarded([&] {
        ForEachItem(*bar, [](MenuItem& item) { item.Enabled(false); });
        auto* front = WindowAt(0);
        auto* field = FocusedField();
        if (front) front->Event_EnableMenuItems();
        if (field) field->RaiseEnableMenuItems();
        const auto* app = GetAppObject();
        ForEachItem(*bar, [&](MenuItem& item) {
            if (!item.AutoEnable()) return;
            const bool handled =
                (front && front->Handlers().Has(item.Name())) || (app && app->Handlers().Has(item.Name()));
            const auto* editing = EditingItemNamed(item.Name());
            const bool fieldDoes = field && editing && editing->can(*field);
            if (handled || fieldDoes) item.Enable();
        });
        for (int i = 0; i < bar->Count(); ++i) EnableSubmenus(*bar->Item(i));
    });
}

bool RunMenuHandlers(const Window* window, std::string_view name) {
    if (window && window->Handlers().Run(name).value_or(false)) return true;
    const auto* app = GetAppObject();
    return app && app->Handlers().Run(name).value_or(false);
}

void Dispatch(const std::shared_ptr<MenuItem>& item) {
    Guarded([&] {
        const auto& name = item->Name();
        const bool handled = RunMenuHandlers(WindowAt(0), name);
        // The field is asked for after the handlers, which may have moved the focus.
        const auto* editing = EditingItemNamed(name);
        auto* field = editing ? FocusedField() : nullptr;
        if (field) editing->carryOut(*field);
        else if (!handled) item->DefaultAction();
    });
}

QMenuBar* BuildMenuBar(QWidget* parent) {
    auto* menuBar = new QMenuBar(parent);
    if (const auto bar = Bar())
        for (int i = 0; i < bar->Count(); ++i) {
            const auto& menuItem = bar->Item(i);
            auto* menu = menuBar->addMenu(ToQt(menuItem->Text()));
            // The window whose menu the user opens is the one worked in, activated or not.
            if (auto* frame = dynamic_cast<Window::Frame*>(parent))
                QObject::connect(menu, &QMenu::aboutToShow, menu, [frame] { BringToFront(frame->owner); });
            FillMenu(menu, *menuItem);
        }
    return menuBar;
}

void ShowContextMenu(const MenuItem& base, const QPoint& globalPosition) {
    QMenu menu;
    for (int i = 0; i < base.Count(); ++i) AddItem(&menu, base.Item(i));
    RunEnablingPass();
    Sync(&menu);
    menu.exec(globalPosition);
}

}  // namespace fw
