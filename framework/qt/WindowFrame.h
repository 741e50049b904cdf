#pragma once

// The toolkit's side of windows and controls; private to the framework.

#include "framework/ui/RectControl.h"
#include "framework/ui/Window.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace fw {

// The area below the menu bar, where controls are placed in window
// coordinates and the background colour and backdrop are painted.
class ContentArea : public QWidget {
public:
    explicit ContentArea(Window& owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Window& owner_;
};

struct Window::Frame : QMainWindow {
    explicit Frame(Window& owner);

    Window& owner;
    ContentArea* content;
    bool closingFromProgram = false;
    // The content area's place and size before the window went full screen,
    // and whether it was maximized.
    QRect contentBeforeFullScreen;
    bool maximizedBeforeFullScreen = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

struct RectControl::Widget {
    explicit Widget(QWidget* view) : view(view), focus_(view->focusPolicy()) {}
    ~Widget() { delete view.data(); }

    // The keyboard focus the control takes. A control that lies wholly
    // outside the content area takes none, whatever it asks for: Tab must
    // not lead the user into a field that nobody sees.
    void TakesFocus(Qt::FocusPolicy policy) {
        focus_ = policy;
        ApplyFocus();
    }
    void LiesOutside(bool outside) {
        outside_ = outside;
        ApplyFocus();
    }

    QPointer<QWidget> view;

private:
    void ApplyFocus() { view->setFocusPolicy(outside_ ? Qt::NoFocus : focus_); }

    Qt::FocusPolicy focus_;
    bool outside_ = false;
};

inline QWidget* ViewOf(const RectControl& control) { return control.View().view.data(); }
inline ContentArea* ContentOf(const Window& window) { return window.Widgets().content; }

}  // namespace fw
