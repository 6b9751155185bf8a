#include "framework/MenuItem.h"

#include "framework/ModalUI.h"

namespace fw {

MenuItem::MenuItem(std::string text, Variant tag) : text_(std::move(text)), tag_(std::move(tag)) {}

void MenuItem::Append(std::shared_ptr<MenuItem> item) {
    if (!item) {
        throw NilObjectException("a nil menu entry");
    }
    items_.push_back(std::move(item));
}

Int32 MenuItem::Count() const {
    return static_cast<Int32>(items_.size());
}

std::shared_ptr<MenuItem> MenuItem::Item(Int32 index) const {
    if (index < 0 || index >= Count()) {
        throw OutOfBoundsException("no menu entry " + std::to_string(index));
    }
    return items_[static_cast<std::size_t>(index)];
}

std::shared_ptr<MenuItem> MenuItem::PopUp() const {
    std::vector<MenuEntry> entries;
    entries.reserve(items_.size());
    for (const auto& item : items_) {
        entries.push_back({item->Text(), item->Enabled()});
    }
    const auto chosen = CurrentModalUI().PopUpMenu(entries);
    if (!chosen || *chosen < 0 || *chosen >= Count()) {
        return nullptr;
    }
    const auto& item = items_[static_cast<std::size_t>(*chosen)];
    if (!item->Enabled() || item->Text() == "-") {
        return nullptr;
    }
    return item;
}

}  // namespace fw
