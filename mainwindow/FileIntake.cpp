#include "framework/Dialogs.h"
#include "framework/DragItem.h"
#include "framework/FolderItem.h"
#include "framework/Strings.h"
#include "framework/ToolbarItem.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

void Main::AlternatingList1_Open(fw::Listbox&) {
    AlternatingList1().AcceptFileDrop("Audio");
    PrintStatus();
}

void Main::AlternatingList1_DropObject(fw::Listbox&, fw::DragItem& obj, fw::Int32) {
    do {
        if (obj.FolderItemAvailable()) {
            AddAudioRow(obj.FolderItem());
        }
    } while (obj.NextItem());
    PrintStatus();
}

void Main::OpenFile() {
    fw::OpenDialog dialog;
    dialog.Filter = "audio";
    dialog.PromptText = "변환할 음악 파일을 선택하세요.";
    if (const auto f = dialog.ShowModalWithin(*this)) {
        AddAudioRow(f);
    }
    PrintStatus();
}

void Main::OpenFolder() {
    fw::SelectFolderDialog dialog;
    dialog.PromptText = "변환할 음악 폴더를 선택하세요.";
    const auto folder = dialog.ShowModalWithin(*this);
    if (!folder) {
        return;
    }
    const fw::Int32 count = folder->Count();
    for (fw::Int32 i = 1; i <= count; ++i) {
        const auto entry = folder->Item(i);
        if (entry && fw::EqualsIgnoringCase(entry->Type(), "audio")) {
            AddAudioRow(entry);
        }
    }
    PrintStatus();
}

void Main::TBFile_Action(fw::ToolbarItem&) {
    OpenFile();
}

void Main::TBFolder_Action(fw::ToolbarItem&) {
    OpenFolder();
}
