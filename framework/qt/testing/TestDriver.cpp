#include "TestDriver.h"

#include "ScriptedDialogs.h"
#include "framework/model/Exceptions.h"
#include "framework/menus/MenuItem.h"
#include "framework/ui/RectControl.h"
#include "framework/ui/Runtime.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/RuntimeState.h"
#include "framework/ui/Window.h"
#include "framework/qt/WindowFrame.h"
#include "framework/qt/ScreenArea.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QCursor>
#include <QTest>
#include <QTimer>

#include <memory>

namespace fw::testing {

namespace {

QWidget* Target(RectControl& control) {
    QWidget* view = ViewOf(control);
    // Text fields take the mouse in their viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(view)) return area->viewport();
    return view;
}

// The action of the named item below the bar or menu, with the menus that lead to it.
QAction* FindAction(QWidget* menu, std::string_view name, std::vector<QMenu*>& path) {
    for (auto* action : menu->actions()) {
        const auto item = action->data().value<std::shared_ptr<MenuItem>>();
        if (item && item->Name() == name) return action;
        if (auto* submenu = action->menu()) {
            path.push_back(submenu);
            if (auto* found = FindAction(submenu, name, path)) return found;
            path.pop_back();
        }
    }
    return nullptr;
}

// The action of the named item in the front window's bar, after the menus
// leading to it were about to show, as when a person opens them.
QAction* OpenMenusTo(std::string_view name) {
    std::vector<QMenu*> path;
    auto* found = WindowAt(0) ? FindAction(WindowAt(0)->Widgets().menuBar(), name, path) : nullptr;
    for (auto* open : path) emit open->aboutToShow();
    return found;
}

// Runs the answer on the pop-up menu that the next step opens, from inside the
// menu's own loop.
void AnswerNextPopup(std::function<void(QMenu&)> answer) {
    QTimer::singleShot(0, qApp, [answer = std::move(answer)] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) answer(*menu);
    });
}

// Answers the next pop-up menu by choosing the visible enabled entry of this
// caption (the text before a tab) with the keyboard, so that the menu itself
// reports the entry as chosen. The answer holds nothing of the caller's, in
// case it comes late.
std::shared_ptr<bool> ChooseInNextPopup(std::string_view caption) {
    auto chosen = std::make_shared<bool>(false);
    AnswerNextPopup([chosen, wanted = ToQt(caption)](QMenu& menu) {
        for (auto* action : menu.actions())
            if (action->isVisible() && action->isEnabled() && !action->isSeparator() &&
                action->text().split('\t').first() == wanted) {
                *chosen = true;
                menu.setActiveAction(action);
                QTest::keyClick(&menu, Qt::Key_Return);
                return;
            }
        menu.close();
    });
    return chosen;
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

void StopHeadlessRuntime() {
    if (QCoreApplication::instance()) RuntimeShutdown();
}

void ProcessEvents() {
    for (int round = 0; round < 2; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    // Outside the event loop, closed windows go only when asked to.
    DestroyForgottenWindows();
}

void ReleaseAllWindows() {
    RuntimeReleaseWindows();
    ProcessEvents();
    // A test that quit or let an exception escape leaves the runtime as at the
    // end of a run; the next test starts it afresh.
    State().quitting = false;
    State().escaped = nullptr;
}

void Focus(RectControl& control) {
    auto* view = ViewOf(control);
    view->window()->activateWindow();
    view->setFocus(Qt::OtherFocusReason);
    ProcessEvents();
}

void TypeText(RectControl& control, std::string_view text) {
    Focus(control);
    QTest::keyClicks(ViewOf(control), ToQt(text));
    ProcessEvents();
}

void PressKeys(Window& window, std::string_view sequence) {
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &window.Widgets()) target = &window.Widgets();
    QTest::keySequence(target, QKeySequence(ToQt(sequence)));
    ProcessEvents();
}

void Click(RectControl& control, int x, int y) {
    QWidget* target = Target(control);
    const QPoint at = x < 0 ? target->rect().center() : target->mapFrom(ViewOf(control), QPoint(x, y));
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
    ProcessEvents();
}

void DropText(RectControl& control, std::string_view text) {
    QWidget* target = Target(control);
    const QPoint at = target->rect().center();
    QMimeData data;
    data.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ProcessEvents();
}

bool ChooseContextMenuEntry(RectControl& control, std::string_view caption) {
    QWidget* target = Target(control);
    const auto chosen = ChooseInNextPopup(caption);
    // A right click reaches a text field through its viewport: the field
    // itself ignores mouse-made context menu events.
    QContextMenuEvent event(QContextMenuEvent::Mouse, target->rect().center(),
                            target->mapToGlobal(target->rect().center()));
    QApplication::sendEvent(target, &event);
    ProcessEvents();
    return *chosen;
}

bool ChooseMenu(std::string_view itemName) {
    auto* action = OpenMenusTo(itemName);
    if (!action || !action->isVisible() || !action->isEnabled()) return false;
    action->trigger();
    ProcessEvents();
    return true;
}

MenuState ShownMenuItem(std::string_view itemName) {
    auto* action = OpenMenusTo(itemName);
    if (!action) return {};
    return {true, action->isVisible(), action->isEnabled(), action->isChecked(), action->text().toStdString()};
}

std::optional<Color> PixelOf(Window& window, int x, int y) {
    const QImage image = ContentOf(window)->grab().toImage();
    if (!image.valid(x, y)) return std::nullopt;
    return FromQt(image.pixelColor(x, y));
}

bool CloseLikeUser(Window& window) {
    window.Widgets().close();
    const bool closed = !window.IsOpen();
    ProcessEvents();
    return closed;
}

bool HasFocus(RectControl& control) {
    auto* view = ViewOf(control);
    auto* focus = QApplication::focusWidget();
    return focus && (focus == view || view->isAncestorOf(focus));
}

void MoveMouse(RectControl& control, int x, int y) {
    // The pointer finds only windows that the desktop has already exposed.
    ProcessEvents();
    QCursor::setPos(ViewOf(control)->mapToGlobal(QPoint(x, y)));
    ProcessEvents();
}

// Clicks the control that opens a pop-up menu. The offscreen platform makes
// the pop-up the active window and leaves none active when it closes; a
// desktop keeps the window under it active, so the window is given it back.
void ClickOpeningPopup(RectControl& control) {
    QWidget* active = QApplication::activeWindow();
    Click(control);
    if (active && active->isVisible() && !QApplication::activeWindow()) {
        active->activateWindow();
        ProcessEvents();
    }
}

bool ClickAndChoose(RectControl& control, std::string_view caption) {
    const auto chosen = ChooseInNextPopup(caption);
    ClickOpeningPopup(control);
    return *chosen;
}

ShownMenu ShownPopupMenu(RectControl& control) {
    auto shown = std::make_shared<ShownMenu>();
    AnswerNextPopup([shown](QMenu& menu) {
        for (auto* action : menu.actions()) {
            if (action->isChecked()) shown->checked = static_cast<int>(shown->entries.size());
            shown->entries.push_back(action->isSeparator() ? "-" : action->text().toStdString());
        }
        menu.close();
    });
    ClickOpeningPopup(control);
    return *shown;
}

void RunInEventLoop(std::function<void()> task, int delayMilliseconds) {
    QTimer::singleShot(delayMilliseconds, qApp, [task = std::move(task)] { Guarded(task); });
}

void StopEventLoop() { QCoreApplication::exit(0); }

std::string TakeEscapedException() {
    auto escaped = std::exchange(State().escaped, nullptr);
    if (!escaped) return {};
    try {
        std::rethrow_exception(escaped);
    } catch (const RuntimeException& error) {
        return std::string(error.ClassName()) + ": " + error.what();
    } catch (const std::exception& error) {
        return std::string("std::exception: ") + error.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

void SetMainScreenArea(int left, int top, int width, int height) {
    MainAvailableAreaOverride() = QRect(left, top, width, height);
}

void ClearMainScreenArea() { MainAvailableAreaOverride().reset(); }

}  // namespace fw::testing
