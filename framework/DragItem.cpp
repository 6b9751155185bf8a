#include "framework/DragItem.h"

#include "framework/FolderItem.h"

namespace fw {

DragItem::DragItem(std::vector<std::shared_ptr<fw::FolderItem>> files) : files_(std::move(files)) {}

bool DragItem::FolderItemAvailable() const {
    return current_ < files_.size() && files_[current_] != nullptr;
}

std::shared_ptr<fw::FolderItem> DragItem::FolderItem() const {
    return current_ < files_.size() ? files_[current_] : nullptr;
}

bool DragItem::NextItem() {
    if (current_ + 1 >= files_.size()) {
        return false;
    }
    ++current_;
    return true;
}

}  // namespace fw
