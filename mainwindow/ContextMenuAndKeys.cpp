#include "framework/Keyboard.h"
#include "framework/MenuItem.h"
#include "framework/Mouse.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

namespace {
const char* const kAddFile = "파일을 목록에 추가";
const char* const kAddFolder = "폴더의 파일들을 목록에 추가";
const char* const kRemove = "목록에서 제거";
const char* const kPlay = "재생";
}  // namespace

// Runs before the list's own handling of the press, so the enable rule and the chosen action
// see the selection as it stood before the click; True after a choice keeps the click from
// selecting the row under the mouse.
bool Main::AlternatingList1_MouseDown(fw::Listbox&, fw::Int32, fw::Int32) {
    if (!fw::IsContextualClick()) {
        return false;
    }
    auto base = std::make_shared<fw::MenuItem>();
    for (const char* text : {kAddFile, kAddFolder, "-", kRemove, kPlay}) {
        base->Append(std::make_shared<fw::MenuItem>(text, fw::Variant()));
    }
    if (AlternatingList1().ListIndex() < 0) {
        base->Item(3)->SetEnabled(false);
        base->Item(4)->SetEnabled(false);
    }
    const auto hitItem = base->PopUp();
    if (!hitItem) {
        return false;
    }
    const std::string& text = hitItem->Text();
    if (text == kAddFile) {
        OpenFile();
    } else if (text == kAddFolder) {
        OpenFolder();
    } else if (text == kRemove) {
        Remove();
    } else if (text == kPlay) {
        PlayMusic();
    }
    return true;
}

// The key of the event is not looked at: what counts is whether a delete key is down now, so
// any key pressed while one is held removes too.
bool Main::AlternatingList1_KeyDown(fw::Listbox&, const std::string&) {
    if (fw::Keyboard::AsyncKeyDown(fw::Keyboard::kDelete) ||
        fw::Keyboard::AsyncKeyDown(fw::Keyboard::kForwardDelete)) {
        Remove();
    }
    return false;
}
