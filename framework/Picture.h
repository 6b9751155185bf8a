#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Core.h"
#include "framework/Graphics.h"

namespace fw {

// A bitmap with an optional mask picture that governs its transparency: the mask's black is
// opaque, its white transparent, grey in between.
class Picture : public Object {
public:
    Picture(Int32 width, Int32 height);
    ~Picture() override;

    // The file read as a picture, or null when it is missing or holds no picture.
    static std::shared_ptr<Picture> Open(const std::string& path);

    Int32 Width() const;
    Int32 Height() const;
    // The mask; with `create`, one is made (all black, so all opaque) when there is none yet.
    std::shared_ptr<Picture> Mask(bool create);
    // The drawing surface of the picture.
    fw::Graphics& Graphics();

    // Every path that Open was asked to read in this process, in order.
    static const std::vector<std::string>& ReadLog();

private:
    friend struct PictureAccess;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
