#include "app/App.h"
#include "conversion/CommandLine.h"
#include "conversion/OutputPath.h"
#include "framework/FolderItem.h"
#include "framework/Int32Math.h"
#include "framework/Shell.h"
#include "framework/Strings.h"
#include "framework/ToolbarItem.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

namespace {

template <class T>
const std::shared_ptr<T>& NotNil(const std::shared_ptr<T>& object, const char* what) {
    if (!object) {
        throw fw::NilObjectException(what);
    }
    return object;
}

// The bundle's Resources folder as a plain path: the executable's folder's parent +
// "/Resources".
std::string ResourcesPath() {
    const auto app = NotNil(App::Current(), "no application object");
    const auto executable = NotNil(app->ExecutableFile(), "no executable file");
    const auto folder = NotNil(executable->Parent(), "the executable has no folder");
    const auto contents = NotNil(folder->Parent(), "the executable's folder has no parent");
    return fw::ReplaceAll(contents->ShellPath() + "/Resources", "\\ ", " ");
}

}  // namespace

void Main::TBConvert_Action(fw::ToolbarItem&) {
    if (AlternatingList1().ListCount() > 0) {
        TBConvert().SetEnabled(false);
        TransCoding(0);
    }
}

void Main::TransCoding(fw::Int32 i) {
    // The rows as they are now, so rows added during the run are reached by it; rows before
    // the start index are never looked at.
    if (i < 0) {
        throw fw::OutOfBoundsException("row " + fw::Str(i));
    }
    const fw::Int32 row = AlternatingList1().FindRow(7, "Ready", i);
    if (row < 0) {
        TBConvert().SetEnabled(true);
        return;
    }

    const fw::Int32 number = fw::ToInt32(fw::Val(AlternatingList1().Cell(row, 6)));
    const std::string input =
        AlternatingList1().Cell(row, 2) + "/" + AlternatingList1().Cell(row, 0);
    const fw::Int32 rating =
        fw::VariantCast<CustomListboxCell>(AlternatingList1().CellTag(row, 3))->getValue();
    const fw::Int32 slot = fw::WrapSub(rating, 1);
    if (slot < 0 || static_cast<std::size_t>(slot) >= bitrate.size()) {
        throw fw::OutOfBoundsException("no bit rate for the rating " + fw::Str(rating));
    }
    const fw::Int32 rate = bitrate[static_cast<std::size_t>(slot)];
    const std::string output = OutputPath(input, rate);
    const std::string resources = ResourcesPath();

    Duration = 0;
    cAudioIndex = row;
    cAudioNo = number;
    cOutputPath = output;

    WinShell().Execute(FfmpegCommandLine(resources, input, rate, output));
    AlternatingList1().SetCell(row, 7, "Converting...");
}
