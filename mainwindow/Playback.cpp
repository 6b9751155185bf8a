#include "framework/FolderItem.h"
#include "framework/MoviePlayer.h"
#include "framework/MsgBox.h"
#include "framework/Strings.h"
#include "framework/ToolbarItem.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

void Main::PlayMusic() {
    const fw::Int32 row = AlternatingList1().ListIndex();
    if (row < 0) {
        return;
    }
    std::string path = AlternatingList1().Cell(row, 2) + "/" + AlternatingList1().Cell(row, 0);
    path = fw::ReplaceAll(path, " ", "\\ ");
    const auto f = fw::GetFolderItem(path, 1);
    if (!f || !f->Exists()) {
        fw::MsgBox("파일을 찾을 수 없습니다.");
        return;
    }
    // Not stopped first: the new movie takes the place of the one playing.
    Player().SetMovie(f->OpenAsMovie());
    Player().SetSpeaker(true);
    Player().Play();
}

void Main::AlternatingList1_DoubleClick(fw::Listbox&) {
    PlayMusic();
}

void Main::TBPlay_Action(fw::ToolbarItem&) {
    PlayMusic();
}

void Main::TBStop_Action(fw::ToolbarItem&) {
    Player().Stop();
}

void Main::Player_Play(fw::MoviePlayer&) {
    TBPlay().SetEnabled(false);
}

void Main::Player_Stop(fw::MoviePlayer&) {
    TBPlay().SetEnabled(true);
}
