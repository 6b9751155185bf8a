#pragma once

#include <memory>

#include "framework/Control.h"

class QAction;

namespace fw {

class Picture;

// A toolbar button: a caption under its icon.
class ToolbarItem : public Control {
public:
    ToolbarItem();
    ~ToolbarItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The picture shown, with its mask as its transparency at the time it is set.
    const std::shared_ptr<Picture>& Image() const { return image_; }
    void SetImage(std::shared_ptr<Picture> image);

    void AttachTo(Window& window) override;
    void RaiseOpen() override;
    // What a press of the button does; also for tests.
    void Press();
    QAction* Action() const;
    const PropertyTable& Properties() const override;

private:
    void Sync();
    struct ActionRef;
    std::unique_ptr<ActionRef> action_;
    std::string caption_;
    bool enabled_ = true;
    std::shared_ptr<Picture> image_;
};

// A standard toolbar item: Type 1 is a separator, Type 3 a flexible space.
class StandardToolbarItem : public Control {
public:
    StandardToolbarItem();
    ~StandardToolbarItem() override;
    Int32 Type() const { return type_; }
    void AttachTo(Window& window) override;
    QAction* Action() const;
    const PropertyTable& Properties() const override;

private:
    void Place(Int32 type);
    struct ActionRef;
    std::unique_ptr<ActionRef> action_;
    Int32 type_ = 0;
};

}  // namespace fw
