#pragma once

#include "framework/RectControl.h"

namespace fw {

// A line of text.
class StaticText : public RectControl {
public:
    StaticText();
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    const PropertyTable& Properties() const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    void Sync();
    std::string text_;
    std::string font_ = "System";
    Int32 size_ = 12;
    bool bold_ = false, italic_ = false, underline_ = false;
    Int32 align_ = 0;
    Color color_{};
};

}  // namespace fw
