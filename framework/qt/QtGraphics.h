#pragma once

// Graphics that draw with a QPainter; private to the framework.

#include "framework/ui/Graphics.h"

#include <QPainter>

namespace fw {

class QtGraphics : public Graphics {
public:
    QtGraphics(QPainter& painter, int width, int height) : painter_(painter), width_(width), height_(height) {}

    Color ForeColor() const override { return foreColor_; }
    void ForeColor(Color color) override { foreColor_ = color; }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void DrawRect(int x, int y, int width, int height) override;
    void FillRect(int x, int y, int width, int height) override;

private:
    QPainter& painter_;
    int width_, height_;
    Color foreColor_;
};

}  // namespace fw
