#pragma once

#include <memory>
#include <string>

#include "framework/Core.h"

namespace fw {

class FolderItem;
class Window;

class FolderItemDialog : public Object {
public:
    // The name of the registered file type whose files the dialog offers.
    std::string Filter;
    std::string PromptText;
    // Shows the dialog on the window and waits; the chosen item, or null when cancelled.
    virtual std::shared_ptr<FolderItem> ShowModalWithin(Window& window) = 0;
};

// Chooses one existing file.
class OpenDialog : public FolderItemDialog {
public:
    std::shared_ptr<FolderItem> ShowModalWithin(Window& window) override;
};

// Chooses one folder.
class SelectFolderDialog : public FolderItemDialog {
public:
    std::shared_ptr<FolderItem> ShowModalWithin(Window& window) override;
};

}  // namespace fw
