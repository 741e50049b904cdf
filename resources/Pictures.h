#pragma once

#include "framework/ui/Picture.h"

#include <memory>

// The program's pictures, each read from the resources folder at its first
// use and shared from then on. Nothing when the file cannot be read; the next
// call tries again.
std::shared_ptr<fw::Picture> buttoncen1();
std::shared_ptr<fw::Picture> buttonmax1();
std::shared_ptr<fw::Picture> buttonmin2();
std::shared_ptr<fw::Picture> buttonyes6();
std::shared_ptr<fw::Picture> buttonno4();
std::shared_ptr<fw::Picture> buttonexit2();
std::shared_ptr<fw::Picture> buttoncancel3();
std::shared_ptr<fw::Picture> Picture2();
std::shared_ptr<fw::Picture> bannerplumora51();
std::shared_ptr<fw::Picture> colorbutton2();
std::shared_ptr<fw::Picture> bannerplumora4();
std::shared_ptr<fw::Picture> buttonfullscreen();

using PictureAccessor = std::shared_ptr<fw::Picture> (*)();
