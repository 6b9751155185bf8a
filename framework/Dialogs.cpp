#include "framework/Dialogs.h"

#include "framework/FileType.h"
#include "framework/FolderItem.h"
#include "framework/ModalUI.h"

namespace fw {

std::shared_ptr<FolderItem> OpenDialog::ShowModalWithin(Window& window) {
    std::vector<std::string> extensions;
    if (const auto type = FileTypeNamed(Filter)) {
        extensions = type->ExtensionList();
    }
    const auto path = CurrentModalUI().ChooseFile(&window, PromptText, extensions);
    return path ? GetFolderItem(*path) : nullptr;
}

std::shared_ptr<FolderItem> SelectFolderDialog::ShowModalWithin(Window& window) {
    const auto path = CurrentModalUI().ChooseFolder(&window, PromptText);
    return path ? GetFolderItem(*path) : nullptr;
}

}  // namespace fw
