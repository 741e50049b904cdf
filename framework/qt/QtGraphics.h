#pragma once

// Graphics that draw with a QPainter; private to the framework.

#include "framework/ui/Graphics.h"

#include <QPainter>

#include <functional>

namespace fw {

class QtGraphics : public Graphics {
public:
    QtGraphics(QPainter& painter, int width, int height) : painter_(&painter), width_(width), height_(height) {}

    // Draws from now on with another painter, on a surface of another size,
    // calling drawn after each drawing; the fore colour stays.
    void Surface(QPainter& painter, int width, int height, std::function<void()> drawn = {}) {
        painter_ = &painter;
        width_ = width;
        height_ = height;
        drawn_ = std::move(drawn);
    }

    Color ForeColor() const override { return foreColor_; }
    void ForeColor(Color color) override { foreColor_ = color; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void DrawRect(int x, int y, int width, int height) override;
    void FillRect(int x, int y, int width, int height) override;

    QPainter& Painter() const { return *painter_; }
    // Draws one block of text on a page: paint runs with the painter clipped to the block.
    virtual void PaintBlock(const QRectF& block, const std::function<void(QPainter&)>& paint);

private:
    QPainter* painter_;
    int width_, height_;
    std::function<void()> drawn_;
    Color foreColor_;
};

}  // namespace fw
