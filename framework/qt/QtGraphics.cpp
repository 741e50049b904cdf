#include "framework/qt/QtGraphics.h"

#include "framework/qt/QtConvert.h"

namespace fw {

void QtGraphics::DrawRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    painter_->setPen(QPen(ToQt(foreColor_), 1));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(x, y, width - 1, height - 1);
    if (drawn_) drawn_();
}

void QtGraphics::FillRect(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    painter_->fillRect(x, y, width, height, ToQt(foreColor_));
    if (drawn_) drawn_();
}

void QtGraphics::PaintBlock(const QRectF& block, const std::function<void(QPainter&)>& paint) {
    painter_->save();
    painter_->setClipRect(block, Qt::IntersectClip);
    paint(*painter_);
    painter_->restore();
}

}  // namespace fw
