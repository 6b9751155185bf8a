#include "framework/Dialogs.h"

#include "framework/FileType.h"
#include "framework/FolderItem.h"
#include "framework/ModalUI.h"

namespace fw {

std::shared_ptr<FolderItem> OpenDialog::ShowModalWithin(Window& window) {
    const auto type = FileTypeNamed(Filter);
    const auto path = CurrentModalUI().ChooseFile(
        &window, PromptText, type ? type->ExtensionList() : std::vector<std::string>{});
    if (!path) {
        return nullptr;
    }
    // A dialog lets the user type any name, whatever it offers; a file of another type is not
    // what the caller asked for.
    if (type && !type->Matches(*path)) {
        return nullptr;
    }
    return GetFolderItem(*path);
}

std::shared_ptr<FolderItem> SelectFolderDialog::ShowModalWithin(Window& window) {
    const auto path = CurrentModalUI().ChooseFolder(&window, PromptText);
    return path ? GetFolderItem(*path) : nullptr;
}

}  // namespace fw
