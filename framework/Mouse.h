#pragma once

#include <optional>

namespace fw {

struct ScreenPoint {
    int x = 0, y = 0;
};

// Whether the mouse-down being handled is a contextual click: the secondary button, or the
// primary one with the key that the toolkit calls Meta (the Control key of a Mac keyboard).
bool IsContextualClick();
// Where on the screen the mouse-down being handled happened; nothing outside a mouse-down.
std::optional<ScreenPoint> MouseDownPosition();

// Marks the mouse-down being dispatched; the widget sets it around its MouseDown event.
class ContextualClickScope {
public:
    explicit ContextualClickScope(bool contextual, std::optional<ScreenPoint> at = std::nullopt);
    ~ContextualClickScope();
    ContextualClickScope(const ContextualClickScope&) = delete;
    ContextualClickScope& operator=(const ContextualClickScope&) = delete;

private:
    bool previous_;
    std::optional<ScreenPoint> previousAt_;
};

}  // namespace fw
