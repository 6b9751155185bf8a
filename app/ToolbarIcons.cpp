#include "app/Pictures.h"
#include "framework/ToolbarItem.h"
#include "mainwindow/Main.h"

namespace {

// Draws the mask file's picture into the icon's mask and gives the item the masked icon. A
// missing icon leaves the item without one, and a missing mask leaves the icon opaque: the
// button still works, and its caption says what it does.
void MaskIcon(fw::ToolbarItem& item, std::shared_ptr<fw::Picture> (*icon)(),
              std::shared_ptr<fw::Picture> (*mask)()) {
    const auto picture = icon();
    if (!picture) {
        item.SetImage(nullptr);
        return;
    }
    if (const auto maskPicture = mask()) {
        picture->Mask(true)->Graphics().DrawPicture(
            maskPicture, 0, 0, fw::Graphics::kNaturalSize, fw::Graphics::kNaturalSize, 0, 0,
            fw::Graphics::kNaturalSize, fw::Graphics::kNaturalSize);
    }
    item.SetImage(icon());
}

}  // namespace

void Main::TBFile_Open(fw::ToolbarItem& item) {
    MaskIcon(item, file, file_mask);
}
void Main::TBFolder_Open(fw::ToolbarItem& item) {
    MaskIcon(item, folder, folder_mask);
}
void Main::TBPlay_Open(fw::ToolbarItem& item) {
    MaskIcon(item, play, play_mask);
}
void Main::TBStop_Open(fw::ToolbarItem& item) {
    MaskIcon(item, stop, stop_mask);
}
void Main::TBConvert_Open(fw::ToolbarItem& item) {
    MaskIcon(item, convert, convert_mask);
}
