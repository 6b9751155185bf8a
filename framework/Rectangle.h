#pragma once

#include "framework/RectControl.h"

namespace fw {

// A filled rectangle with a bevelled border.
class Rectangle : public RectControl {
public:
    Rectangle();
    Color FillColor() const { return fill_; }
    const PropertyTable& Properties() const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    friend class RectangleWidget;
    Color fill_{0xFFFFFF};
    Color topLeft_{0x000000};
    Color bottomRight_{0x000000};
    Int32 borderWidth_ = 1;
};

}  // namespace fw
