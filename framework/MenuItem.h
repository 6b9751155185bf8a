#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Core.h"
#include "framework/Variant.h"

namespace fw {

// An entry of a menu, or its root when made without a text. An entry whose text is "-" is a
// separator line and cannot be chosen.
class MenuItem : public Object {
public:
    MenuItem() = default;
    explicit MenuItem(std::string text, Variant tag = {});

    const std::string& Text() const { return text_; }
    const Variant& Tag() const { return tag_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Adds an entry at the end; a nil entry raises NilObjectException.
    void Append(std::shared_ptr<MenuItem> item);
    Int32 Count() const;
    // The entry at `index`, counted from 0; any other index raises OutOfBoundsException.
    std::shared_ptr<MenuItem> Item(Int32 index) const;

    // Shows the entries at the mouse and waits for the user: the entry chosen, or null when the
    // menu was closed without a choice. A disabled entry or a separator is never the answer.
    std::shared_ptr<MenuItem> PopUp() const;

private:
    std::string text_;
    Variant tag_;
    bool enabled_ = true;
    std::vector<std::shared_ptr<MenuItem>> items_;
};

}  // namespace fw
