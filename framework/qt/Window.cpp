#include "framework/ui/Window.h"

#include "framework/model/Exceptions.h"
#include "framework/qt/KeyboardOrder.h"
#include "framework/qt/MenuRouting.h"
#include "framework/qt/PictureData.h"
#include "framework/qt/QtConvert.h"
#include "framework/ui/PushButton.h"
#include "framework/ui/RectControl.h"
#include "framework/ui/Runtime.h"
#include "framework/qt/RuntimeState.h"
#include "framework/qt/WindowFrame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace fw {

void ContentArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (owner_.HasBackColor()) painter.fillRect(rect(), ToQt(owner_.BackColor()));
    if (const auto& backdrop = owner_.Backdrop()) painter.drawImage(0, 0, backdrop->Data().image);
}

void ContentArea::resizeEvent(QResizeEvent*) {
    Guarded([this] { owner_.ContentResized(width(), height(), true); });
}

Window::Frame::Frame(Window& owner) : owner(owner), content(new ContentArea(owner)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCentralWidget(content);
    setMenuBar(BuildMenuBar(this));
}

void Window::Frame::closeEvent(QCloseEvent* event) {
    if (closingFromProgram) {
        event->accept();
        return;
    }
    // Whether the window goes is the program's to say.
    event->ignore();
    Guarded([this] { owner.Event_CloseRequest(); });
}

namespace {
// The default or the cancel button that is shown now: of buttons split over
// the pages of a tab panel, the shown page's.
PushButton* ShownButton(const Window& window, bool isDefault) {
    for (int i = 0; i < window.ControlCount(); ++i) {
        auto* button = dynamic_cast<PushButton*>(&window.ControlAt(i));
        if (button && (isDefault ? button->Default() : button->Cancel()) &&
            ViewOf(*button)->isVisibleTo(ContentOf(window)))
            return button;
    }
    return nullptr;
}
}  // namespace

// Return and Escape that no control took (a single-line field leaves Return)
// press the default and the cancel button.
void Window::Frame::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape;
    if (plain && (enter || escape))
        if (auto* button = ShownButton(owner, enter)) {
            event->accept();
            button->Push();
            return;
        }
    QMainWindow::keyPressEvent(event);
}

void Window::Frame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) BringToFront(owner);
    QMainWindow::changeEvent(event);
}

const PropertyTable& Window::Properties() const {
    static const PropertyTable table{
        Prop("Placement", &Window::Placement, &Window::Placement),
        Prop("Width", &Window::Width, &Window::Width),
        Prop("Height", &Window::Height, &Window::Height),
        Prop("Left", &Window::Left, &Window::Left),
        Prop("Top", &Window::Top, &Window::Top),
        Prop("MinWidth", &Window::MinWidth, &Window::MinWidth),
        Prop("MinHeight", &Window::MinHeight, &Window::MinHeight),
        Prop("MaxWidth", &Window::MaxWidth, &Window::MaxWidth),
        Prop("MaxHeight", &Window::MaxHeight, &Window::MaxHeight),
        StoredProp("Frame", std::int32_t{0}),
        StoredProp("Composite", false),
        Prop("HasBackColor", &Window::HasBackColor, &Window::HasBackColor),
        Prop("BackColor", &Window::BackColor, &Window::BackColor),
        Prop("Title", &Window::Title, &Window::Title),
        Prop("Visible", &Window::Visible, &Window::Visible),
        Prop("FullScreen", &Window::FullScreen, &Window::FullScreen),
        Prop("MenuBarVisible", &Window::MenuBarVisible, &Window::MenuBarVisible),
        Prop("CloseButton", &Window::CloseButton, &Window::CloseButton),
        Prop("Resizeable", &Window::Resizeable, &Window::Resizeable),
        StoredProp("LiveResize", true),
        Prop("MaximizeButton", &Window::MaximizeButton, &Window::MaximizeButton),
        Prop("MinimizeButton", &Window::MinimizeButton, &Window::MinimizeButton),
        StoredProp("MacProcId", std::int32_t{0}),
    };
    return table;
}

Window::Window() : frame_(std::make_unique<Frame>(*this)) {}

Window::~Window() {
    // Controls first: their views live inside the frame.
    controls_.clear();
}

void Window::Constructor() {
    try {
        Layout();
        CreateControls();
        ApplyKeyboardOrder(*this);
        AddMenuHandlers(*this);
        for (auto& control : controls_) control->RaiseOpen();
        Event_Open();
        constructed_ = true;
        if (visible_) Show();
    } catch (...) {
        Close();
        throw;
    }
}

std::string Window::Title() const { return FromQt(frame_->windowTitle()); }
void Window::Title(const std::string& title) { frame_->setWindowTitle(ToQt(title)); }

int Window::Left() const { return frame_->geometry().x(); }
void Window::Left(int left) { frame_->move(left - (frame_->geometry().x() - frame_->x()), frame_->y()); }
int Window::Top() const {
    return frame_->geometry().y() + (menuBarVisible_ ? frame_->menuBar()->sizeHint().height() : 0);
}
void Window::Top(int top) {
    const int menu = menuBarVisible_ ? frame_->menuBar()->sizeHint().height() : 0;
    frame_->move(frame_->x(), top - menu - (frame_->geometry().y() - frame_->y()));
}

int Window::Width() const { return laidOutWidth_; }
int Window::Height() const { return laidOutHeight_; }

namespace {
int MenuHeight(const Window& window) {
    return window.MenuBarVisible() ? window.Widgets().menuBar()->sizeHint().height() : 0;
}

// The size the window takes on screen once shown, its desktop frame included,
// which a window already shown tells.
QSize OnScreenSize(const QWidget& frame) {
    QSize decoration;
    for (int i = 0; i < WindowCount(); ++i)
        if (const auto& shown = WindowAt(i)->Widgets(); shown.isVisible()) {
            decoration = shown.frameGeometry().size() - shown.geometry().size();
            break;
        }
    return frame.size() + decoration;
}

// The first window sits in the middle of the work area; each further one
// steps down and to the right, so that none hides another exactly, and the
// steps start again at the area's top left when the next would not fit.
QPoint CascadePlace(const QRect& area, const QSize& size, int index) {
    QPoint place(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    for (int i = 0; i < index; ++i) {
        place += QPoint(24, 24);
        if (!area.contains(QRect(place, size))) place = area.topLeft();
    }
    return place;
}

// The program sizes even a window that the user may not resize: its fixed
// size then moves along.
void ResizeFrame(Window::Frame& frame, bool resizeable, int width, int height) {
    if (resizeable) frame.resize(width, height);
    else frame.setFixedSize(width, height);
}
}  // namespace

void Window::Width(int width) {
    width = std::clamp(width, minWidth_, maxWidth_);
    // The controls follow first, so that the frame's own resize event finds
    // nothing left to do and no user resize is reported.
    ContentResized(width, laidOutHeight_, false);
    ResizeFrame(*frame_, resizeable_, width, frame_->height());
}

void Window::Height(int height) {
    height = std::clamp(height, minHeight_, maxHeight_);
    ContentResized(laidOutWidth_, height, false);
    ResizeFrame(*frame_, resizeable_, frame_->width(), height + MenuHeight(*this));
}
void Window::MinWidth(int width) {
    minWidth_ = width;
    ApplyFlags();
}
void Window::MinHeight(int height) {
    minHeight_ = height;
    ApplyFlags();
}
void Window::MaxWidth(int width) {
    maxWidth_ = width;
    ApplyFlags();
}
void Window::MaxHeight(int height) {
    maxHeight_ = height;
    ApplyFlags();
}

void Window::Visible(bool on) {
    visible_ = on;
    if (!constructed_) return;
    if (on) Show();
    else frame_->hide();
}

// Leaving full screen puts the content area back where and as large as it
// was, whatever became of the menu bar meanwhile; a window that was maximized
// is maximized again, and the desktop still knows its size from before that.
void Window::FullScreen(bool on) {
    const bool was = fullScreen_;
    fullScreen_ = on;
    if ((!constructed_ && !frame_->isVisible()) || on == was) return;
    if (on) {
        frame_->maximizedBeforeFullScreen = frame_->isMaximized();
        frame_->contentBeforeFullScreen = QRect(Left(), Top(), Width(), Height());
        frame_->showFullScreen();
        ApplyFlags();
        return;
    }
    if (frame_->maximizedBeforeFullScreen) {
        frame_->showMaximized();
        ApplyFlags();
        return;
    }
    frame_->showNormal();
    const QRect content = frame_->contentBeforeFullScreen;
    // A window made full screen before it was first shown has no place to go back to.
    if (!content.isEmpty()) ContentResized(content.width(), content.height(), false);
    ApplyFlags();
    if (content.isEmpty()) return;
    // Placed once the window has its frame again, which the desktop gives back
    // only after the change of state.
    QTimer::singleShot(0, frame_.get(), [this, content] {
        if (fullScreen_) return;
        const int menu = MenuHeight(*this);
        frame_->setGeometry(content.x(), content.y() - menu, content.width(), content.height() + menu);
    });
}

// The content keeps its place and size: the window grows or shrinks by the bar above it.
void Window::MenuBarVisible(bool on) {
    const int top = Top();
    const int before = MenuHeight(*this);
    menuBarVisible_ = on;
    frame_->menuBar()->setVisible(on);
    if (!fullScreen_ && !frame_->isMaximized()) {
        ResizeFrame(*frame_, resizeable_, frame_->width(), frame_->height() - before + MenuHeight(*this));
        Top(top);
    }
}

void Window::Resizeable(bool on) {
    resizeable_ = on;
    ApplyFlags();
}
void Window::CloseButton(bool on) {
    closeButton_ = on;
    ApplyFlags();
}
void Window::MaximizeButton(bool on) {
    maximizeButton_ = on;
    ApplyFlags();
}
void Window::MinimizeButton(bool on) {
    minimizeButton_ = on;
    ApplyFlags();
}

void Window::ApplyFlags() {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (closeButton_) flags |= Qt::WindowCloseButtonHint;
    if (minimizeButton_) flags |= Qt::WindowMinimizeButtonHint;
    // A window that may not be resized keeps its flags: its fixed size is what
    // tells the desktop, and changing flags would map the window anew, which
    // loses a change of state (full screen) still on its way.
    if (maximizeButton_) flags |= Qt::WindowMaximizeButtonHint;
    const bool shown = frame_->isVisible();
    if (frame_->windowFlags() != flags) {
        frame_->setWindowFlags(flags);
        if (shown) frame_->show();
    }
    const int menu = MenuHeight(*this);
    // Full screen takes the whole screen, resizeable or not.
    if (resizeable_ || fullScreen_) {
        frame_->setMinimumSize(minWidth_, minHeight_ + menu);
        frame_->setMaximumSize(maxWidth_, std::min(maxHeight_ + menu, QWIDGETSIZE_MAX));
    } else {
        frame_->setFixedSize(laidOutWidth_, laidOutHeight_ + menu);
    }
}

void Window::HasBackColor(bool on) {
    hasBackColor_ = on;
    frame_->content->update();
}
void Window::BackColor(Color color) {
    backColor_ = color;
    frame_->content->update();
}
void Window::Backdrop(std::shared_ptr<Picture> picture) {
    backdrop_ = std::move(picture);
    frame_->content->update();
}

void Window::Show() {
    visible_ = true;
    if (!constructed_) return;
    if (!frame_->isVisible() && placement_ == 3) {
        if (const auto* screen = QGuiApplication::primaryScreen())
            frame_->move(CascadePlace(screen->availableGeometry(), OnScreenSize(*frame_), WindowCount() - 1));
    }
    const bool appearing = !frame_->isVisible();
    if (fullScreen_) frame_->showFullScreen();
    else frame_->show();
    // The field that takes the keyboard when the window is activated is
    // chosen now: commands meant for the window find it before then.
    if (appearing) FocusFirstField(*this);
    frame_->raise();
    frame_->activateWindow();
    BringToFront(*this);
}

void Window::Event_CloseRequest() {
    if (closeButton_) Close();
}

void Window::Close() {
    if (!open_) return;
    open_ = false;
    frame_->closingFromProgram = true;
    frame_->close();
    frame_->hide();
    const bool wasInFront = WindowAt(0) == this;
    Forget(*this);
    // The window behind comes to the front in its place, also where the desktop would not bring it.
    auto& state = State();
    if (wasInFront && !state.quitting)
        if (auto* next = WindowAt(0)) {
            next->frame_->raise();
            next->frame_->activateWindow();
        }
    // Each window carries the menu bar here: with the last one gone nothing
    // could reach the application's commands, so the application ends.
    if (state.running && !state.quitting && state.windows.empty()) Quit();
}

void Window::Maximize() {
    if (frame_->isMaximized()) frame_->showNormal();
    else frame_->showMaximized();
}

void Window::Minimize() { frame_->showMinimized(); }

std::unique_ptr<RectControl> Window::New(std::string_view className) {
    const auto& classes = State().controlClasses;
    const auto found = classes.find(className);
    if (found == classes.end()) throw UnknownNameException("no control class named \"" + std::string(className) + "\"");
    return found->second(*this);
}

RectControl& Window::AddControl(const std::string& name, std::unique_ptr<RectControl> control) {
    if (!control) throw NilObjectException("AddControl was given no control for \"" + name + "\"");
    control->Name(name);
    controls_.push_back(std::move(control));
    return *controls_.back();
}

RectControl* Window::ControlByName(std::string_view name) const {
    for (const auto& control : controls_)
        if (control->Name() == name) return control.get();
    return nullptr;
}

void Window::ContentResized(int width, int height, bool byUser) {
    const int dx = width - laidOutWidth_;
    const int dy = height - laidOutHeight_;
    laidOutWidth_ = width;
    laidOutHeight_ = height;
    if (dx == 0 && dy == 0) return;
    for (auto& control : controls_) control->FollowWindowResize(dx, dy);
    if (byUser && constructed_) Event_Resizing();
}

}  // namespace fw
