#pragma once

#include <memory>
#include <vector>

#include "framework/Core.h"

namespace fw {

class FolderItem;

// The items of one drop, one of them current.
class DragItem : public Object {
public:
    explicit DragItem(std::vector<std::shared_ptr<fw::FolderItem>> files);
    // Whether the current item carries a file.
    bool FolderItemAvailable() const;
    std::shared_ptr<fw::FolderItem> FolderItem() const;
    // Makes the next item current; False when there is none.
    bool NextItem();

private:
    std::vector<std::shared_ptr<fw::FolderItem>> files_;
    std::size_t current_ = 0;
};

}  // namespace fw
