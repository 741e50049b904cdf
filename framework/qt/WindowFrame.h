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
    // The content area's place and size before the window went full screen.
    QRect contentBeforeFullScreen;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
};

struct RectControl::Widget {
    explicit Widget(QWidget* view) : view(view) {}
    ~Widget() { delete view.data(); }
    QPointer<QWidget> view;
};

inline QWidget* ViewOf(const RectControl& control) { return control.View().view.data(); }
inline ContentArea* ContentOf(const Window& window) { return window.Widgets().content; }

}  // namespace fw
