#pragma once

// A picture's pixels; private to the framework.

#include "framework/ui/Picture.h"

#include <QImage>

namespace fw {

struct Picture::Pixels {
    QImage image;
};

}  // namespace fw
