#include "framework/FolderItem.h"
#include "framework/RegEx.h"
#include "framework/Strings.h"
#include "listview/ButtonsCell.h"
#include "listview/CustomCellListbox.h"
#include "listview/ProgressCell.h"
#include "listview/RatingCell.h"
#include "mainwindow/Main.h"

void Main::AddAudioRow(const std::shared_ptr<fw::FolderItem>& f) {
    audioIndex = audioIndex + 1;

    std::string extension;
    fw::RegEx re;
    re.SearchPattern = ".[\\w]+$";
    if (const auto match = re.Search(f->Name())) {
        extension = fw::Lowercase(fw::Mid(match->SubExpressionString(0), 2));
    }

    AlternatingList1().AddRow("");
    AlternatingList1().SetCell(AlternatingList1().LastIndex(), 0, f->Name());
    AlternatingList1().SetCell(AlternatingList1().LastIndex(), 1, extension);
    const auto parent = f->Parent();
    AlternatingList1().SetCell(AlternatingList1().LastIndex(), 2,
                               fw::ReplaceAll(parent ? parent->ShellPath() : "", "\\ ", " "));
    {
        const fw::Int32 row = AlternatingList1().LastIndex();
        AlternatingList1().customCell(row, 3, std::make_shared<RatingCell>(2, 3));
    }
    {
        const fw::Int32 row = AlternatingList1().LastIndex();
        AlternatingList1().customCell(row, 4, std::make_shared<ProgressCell>(0, 100));
    }
    {
        const fw::Int32 row = AlternatingList1().LastIndex();
        AlternatingList1().customCell(row, 5, std::make_shared<ButtonsCell>());
    }
    AlternatingList1().SetCell(AlternatingList1().LastIndex(), 6, fw::Str(audioIndex));
    AlternatingList1().SetCell(AlternatingList1().LastIndex(), 7, "Ready");
}

void Main::RefreshCellIndex(fw::Int32 n) {
    // Row numbers are given out once each, so the first row that holds it is the only one.
    const fw::Int32 row = AlternatingList1().FindRow(6, fw::Str(n));
    if (row >= 0) {
        cAudioIndex = row;
    }
}
