#include "framework/ui/Picture.h"

#include "framework/qt/PictureData.h"

namespace fw {

Picture::Picture(std::unique_ptr<Pixels> pixels) : pixels_(std::move(pixels)) {}
Picture::~Picture() = default;
int Picture::Width() const { return pixels_->image.width(); }
int Picture::Height() const { return pixels_->image.height(); }

}  // namespace fw
