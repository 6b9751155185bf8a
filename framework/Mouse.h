#pragma once

namespace fw {

// Whether the mouse-down being handled is a contextual click (the secondary button).
bool IsContextualClick();

// Marks the mouse-down being dispatched; the widget sets it around its MouseDown event.
class ContextualClickScope {
public:
    explicit ContextualClickScope(bool contextual);
    ~ContextualClickScope();
    ContextualClickScope(const ContextualClickScope&) = delete;
    ContextualClickScope& operator=(const ContextualClickScope&) = delete;

private:
    bool previous_;
};

}  // namespace fw
