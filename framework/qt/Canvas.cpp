#include "framework/ui/Canvas.h"

#include "framework/qt/PictureData.h"
#include "framework/qt/QtGraphics.h"
#include "framework/qt/RuntimeState.h"
#include "framework/qt/WindowFrame.h"

#include <QMouseEvent>
#include <QPainter>

namespace fw {

// The canvas's drawing context and what it drew outside Paint: an image the
// canvas's size, transparent where nothing was drawn.
struct Canvas::Kept {
    QImage image;
    QPainter painter;
    QtGraphics graphics{painter, 0, 0};
};

namespace {

class CanvasView : public QWidget {
public:
    explicit CanvasView(Canvas& owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (const auto& backdrop = owner_.Backdrop()) painter.drawImage(0, 0, backdrop->Data().image);
        auto& kept = owner_.KeptDrawing();
        painter.drawImage(0, 0, kept.image);
        // Paint draws on the screen with the canvas's own context, so that
        // the colours it sets are what the context holds afterwards.
        kept.graphics.Surface(painter, width(), height());
        Guarded([&] { owner_.RaisePaint(kept.graphics); });
        owner_.KeepDrawing(kept);
    }
    void mousePressEvent(QMouseEvent* event) override {
        const auto at = event->position().toPoint();
        // The press stays with the canvas whatever the handler answers:
        // nothing beneath a canvas takes it.
        Guarded([&] { owner_.RaiseMouseDown(at.x(), at.y()); });
        event->accept();
    }

private:
    Canvas& owner_;
};

}  // namespace

Canvas::Canvas(Window& window) : RectControl(window, std::make_unique<Widget>(new CanvasView(*this))) {
    View().TakesFocus(Qt::NoFocus);
}

Canvas::~Canvas() {
    if (kept_) kept_->painter.end();
}

const PropertyTable& Canvas::Properties() const {
    static const PropertyTable table(
        {
            StoredProp("UseFocusRing", true),
            Prop("AcceptFocus", &Canvas::AcceptFocus, &Canvas::AcceptFocus),
            StoredProp("AcceptTabs", false),
            StoredProp("EraseBackground", true),
        },
        &BaseProperties());
    return table;
}

void Canvas::Backdrop(std::shared_ptr<Picture> picture) {
    backdrop_ = std::move(picture);
    Refresh();
}

// Only Tab gives it the keyboard: a click leaves the keyboard with the text
// the user was typing in.
void Canvas::AcceptFocus(bool on) {
    acceptFocus_ = on;
    View().TakesFocus(on ? Qt::TabFocus : Qt::NoFocus);
}

Canvas::Kept& Canvas::KeptDrawing() {
    const QSize size(std::max(Width(), 1), std::max(Height(), 1));
    if (!kept_) kept_ = std::make_unique<Kept>();
    if (kept_->image.size() != size) {
        if (kept_->painter.isActive()) kept_->painter.end();
        kept_->image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        kept_->image.fill(Qt::transparent);
        kept_->painter.begin(&kept_->image);
        KeepDrawing(*kept_);
    }
    return *kept_;
}

// Drawing outside Paint goes to the kept image, and the canvas is shown again with it.
void Canvas::KeepDrawing(Kept& kept) {
    kept.graphics.Surface(kept.painter, kept.image.width(), kept.image.height(), [this] {
        if (auto* view = ViewOf(*this)) view->update();
    });
}

Graphics& Canvas::Graphics() { return KeptDrawing().graphics; }

void Canvas::RaisePaint(class Graphics& onScreen) {
    if (const auto* handler = HandlerFor("Paint")) std::get<PaintHandler> (*handler)(onScreen);
}

void Canvas::Refresh() {
    if (kept_) kept_->image.fill(Qt::transparent);
    if (auto* view = ViewOf(*this)) view->update();
}

bool Canvas::Accepts(std::string_view event, const EventHandler& handler) const {
    if (event == "Paint") return std::holds_alternative<PaintHandler>(handler);
    if (event == "MouseDown") return std::holds_alternative<MouseHandler>(handler);
    return RectControl::Accepts(event, handler);
}

}  // namespace fw
