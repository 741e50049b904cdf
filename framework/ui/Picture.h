#pragma once

#include <memory>

namespace fw {

// An image read from a file. Pictures are shared by reference: every user of
// one loaded picture holds the same object.
class Picture {
public:
    struct Pixels;
    explicit Picture(std::unique_ptr<Pixels> pixels);
    ~Picture();

    int Width() const;
    int Height() const;
    const Pixels& Data() const { return *pixels_; }

private:
    std::unique_ptr<Pixels> pixels_;
};

}  // namespace fw
