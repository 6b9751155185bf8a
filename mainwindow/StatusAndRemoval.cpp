#include "framework/MsgBox.h"
#include "framework/StaticText.h"
#include "framework/Strings.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

void Main::PrintStatus() {
    auto& list = AlternatingList1();
    fw::Int32 count = 0;
    for (fw::Int32 i = list.ListCount() - 1; i >= 0; --i) {
        if (list.Selected(i)) {
            ++count;
        }
    }
    StatusBar().SetText(fw::Str(count) + " / " + fw::Str(list.ListCount()) + " 선택됨");
}

void Main::Remove() {
    if (AlternatingList1().ListIndex() < 0) {
        return;
    }
    bool converting = false;
    const fw::Int32 rows = AlternatingList1().ListCount();
    // From the last row to the first, so that a removal never moves a row not yet visited.
    for (fw::Int32 i = rows - 1; i >= 0; --i) {
        auto& list = AlternatingList1();
        if (!list.Selected(i)) {
            continue;
        }
        if (list.Cell(i, 7) == "Converting...") {
            converting = true;
        } else {
            list.RemoveRow(i);
        }
    }
    if (converting) {
        fw::MsgBox("변환중인 파일은 삭제할 수 없습니다.");
    }
    PrintStatus();
}

void Main::AlternatingList1_Change(fw::Listbox&) {
    PrintStatus();
}
