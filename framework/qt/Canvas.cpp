#include "framework/ui/Canvas.h"

#include "framework/qt/PictureData.h"
#include "framework/qt/QtGraphics.h"
#include "framework/qt/RuntimeState.h"
#include "framework/qt/WindowFrame.h"

#include <QMouseEvent>
#include <QPainter>

namespace fw {

// The kept drawing: an image the canvas's size, transparent where nothing was drawn.
struct Canvas::Kept {
    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QtGraphics> graphics;
};

namespace {

class CanvasView : public QWidget {
public:
    explicit CanvasView(Canvas& owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (const auto& backdrop = owner_.Backdrop()) painter.drawImage(0, 0, backdrop->Data().image);
        if (const auto* kept = owner_.KeptDrawing()) painter.drawImage(0, 0, kept->image);
        QtGraphics graphics(painter, width(), height());
        Guarded([&] { owner_.RaisePaint(graphics); });
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
    if (kept_) kept_->painter->end();
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

void Canvas::AcceptFocus(bool on) {
    acceptFocus_ = on;
    View().TakesFocus(on ? Qt::ClickFocus : Qt::NoFocus);
}

Graphics& Canvas::PersistentGraphics() {
    const QSize size(std::max(Width(), 1), std::max(Height(), 1));
    if (!kept_ || kept_->image.size() != size) {
        if (kept_) kept_->painter->end();
        auto kept = std::make_unique<Kept>();
        kept->image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        kept->image.fill(Qt::transparent);
        kept->painter = std::make_unique<QPainter>(&kept->image);
        kept->graphics = std::make_unique<QtGraphics>(*kept->painter, size.width(), size.height());
        kept_ = std::move(kept);
    }
    Refresh();
    return *kept_->graphics;
}

void Canvas::RaisePaint(Graphics& onScreen) {
    if (const auto* handler = HandlerFor("Paint")) std::get<PaintHandler>(*handler)(onScreen);
}

void Canvas::Refresh() {
    if (auto* view = ViewOf(*this)) view->update();
}

bool Canvas::Accepts(std::string_view event, const EventHandler& handler) const {
    if (event == "Paint") return std::holds_alternative<PaintHandler>(handler);
    if (event == "MouseDown") return std::holds_alternative<MouseHandler>(handler);
    return RectControl::Accepts(event, handler);
}

}  // namespace fw
