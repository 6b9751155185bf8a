#include "app/Resources.h"

#include "app/App.h"

std::shared_ptr<fw::FolderItem> GetApplicationBundleResources() {
    const auto app = App::Current();
    if (!app) {
        return nullptr;
    }
    const auto executable = app->ExecutableFile();
    const auto folder = executable ? executable->Parent() : nullptr;
    const auto contents = folder ? folder->Parent() : nullptr;
    return contents ? contents->Child("Resources") : nullptr;
}
