#pragma once

#include <memory>

#include "framework/Control.h"

namespace fw {

struct Rect {
    Int32 left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Locks {
    bool left = false, top = false, right = false, bottom = false;
};

// Where a locked control goes when its window's area changes from `designSize` to `size`: a
// locked side keeps its distance to that side of the window, and a control locked on two
// opposite sides stretches.
Rect AnchoredGeometry(const Rect& design, const Locks& locks, Int32 designWidth, Int32 designHeight,
                      Int32 width, Int32 height);

// A visible rectangular control: position, size, locks, visibility and enabled state, kept
// here and mirrored on the widget that the subclass makes.
class RectControl : public Control {
public:
    ~RectControl() override;

    const Rect& DesignGeometry() const { return design_; }
    const Locks& LockSides() const { return locks_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    void AttachTo(Window& window) override;
    QWidget* Widget() const override;
    // Places the widget for the window's present area.
    void Relayout(Int32 designWidth, Int32 designHeight, Int32 width, Int32 height);

protected:
    RectControl();
    // Makes the widget, child of the window's area; called once, when the control is attached.
    virtual QWidget* CreateWidget(QWidget* parent) = 0;
    static PropertyTable RectProperties();

private:
    void SyncWidget();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    Rect design_;
    Locks locks_;
    bool visible_ = true;
    bool enabled_ = true;
};

}  // namespace fw
