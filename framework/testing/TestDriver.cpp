#include "TestDriver.h"

#include "ScriptedDialogs.h"
#include "framework/MenuItem.h"
#include "framework/MenuRouting.h"
#include "framework/RectControl.h"
#include "framework/Runtime.h"
#include "framework/StaticText.h"
#include "framework/BevelButton.h"
#include "framework/PushButton.h"
#include "framework/Window.h"
#include "framework/WindowFrame.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace fw::testing {

namespace {

QWidget* Target(RectControl& control) {
    QWidget* view = ViewOf(control);
    // Text fields take the mouse in their viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(view)) return area->viewport();
    return view;
}

QMenuBar* FrontMenuBar() {
    auto* front = WindowAt(0);
    return front ? front->Widgets().menuBar() : nullptr;
}

// The action of the named item in the menu, with the menus that lead to it.
QAction* FindAction(QMenu* menu, std::string_view name, std::vector<QMenu*>& path) {
    path.push_back(menu);
    for (auto* action : menu->actions()) {
        const auto item = action->data().value<std::shared_ptr<MenuItem>>();
        if (item && item->Name() == name) return action;
        if (auto* submenu = action->menu())
            if (auto* found = FindAction(submenu, name, path)) return found;
    }
    path.pop_back();
    return nullptr;
}

QAction* FindInBar(std::string_view name, std::vector<QMenu*>& path) {
    auto* bar = FrontMenuBar();
    if (!bar) return nullptr;
    for (auto* action : bar->actions())
        if (auto* menu = action->menu())
            if (auto* found = FindAction(menu, name, path)) return found;
    return nullptr;
}

}  // namespace

void StartHeadlessRuntime() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "plumora-tests";
    static char* argv[] = {name, nullptr};
    RuntimeInit(argc, argv);
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    InstallScriptedDialogs();
}

void ProcessEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void ReleaseAllWindows() {
    RuntimeReleaseWindows();
    ProcessEvents();
}

void Focus(RectControl& control) {
    auto* view = ViewOf(control);
    view->window()->activateWindow();
    view->setFocus(Qt::OtherFocusReason);
    ProcessEvents();
}

void TypeText(RectControl& control, std::string_view text) {
    Focus(control);
    QTest::keyClicks(ViewOf(control), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    ProcessEvents();
}

void PressKeys(Window& window, std::string_view sequence) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &window.Widgets()) target = &window.Widgets();
    const QKeySequence keys(QString::fromUtf8(sequence.data(), static_cast<qsizetype>(sequence.size())));
    QTest::keySequence(target, keys);
    ProcessEvents();
}

void Click(RectControl& control, int x, int y) {
    QWidget* target = Target(control);
    const QPoint at = x < 0 ? target->rect().center() : target->mapFrom(ViewOf(control), QPoint(x, y));
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    ProcessEvents();
}

bool ChooseContextMenuEntry(RectControl& control, std::string_view caption) {
    QWidget* target = Target(control);
    bool chosen = false;
    // The menu runs its own loop; it is answered from inside it.
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (auto* action : menu->actions())
            if (action->isVisible() && action->isEnabled() && action->text().split('\t').first() == QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()))) {
                chosen = true;
                menu->close();
                action->trigger();
                return;
            }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, target->rect().center(), target->mapToGlobal(target->rect().center()));
    QApplication::sendEvent(ViewOf(control), &event);
    ProcessEvents();
    return chosen;
}

bool ChooseMenu(std::string_view itemName) {
    std::vector<QMenu*> path;
    auto* action = FindInBar(itemName, path);
    if (!action) return false;
    for (auto* menu : path) emit menu->aboutToShow();
    if (!action->isVisible() || !action->isEnabled()) return false;
    action->trigger();
    ProcessEvents();
    return true;
}

MenuState ShownMenuItem(std::string_view itemName) {
    std::vector<QMenu*> path;
    auto* action = FindInBar(itemName, path);
    if (!action) return {};
    for (auto* menu : path) emit menu->aboutToShow();
    return {true, action->isVisible(), action->isEnabled(), action->isChecked(), action->text().toStdString()};
}

std::string ShownText(RectControl& control) {
    auto* view = ViewOf(control);
    if (auto* label = qobject_cast<QLabel*>(view)) return label->text().toStdString();
    if (auto* button = qobject_cast<QPushButton*>(view)) return button->text().toStdString();
    if (auto* bevel = dynamic_cast<BevelButton*>(&control)) return bevel->Caption();
    return {};
}

bool IsShown(RectControl& control) { return ViewOf(control)->isVisibleTo(ContentOf(control.OwnerWindow())); }

bool Grab(Window& window, const std::string& pngPath) {
    return window.Widgets().grab().save(QString::fromStdString(pngPath), "PNG");
}

}  // namespace fw::testing
