#include <string_view>

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

// Whether a row of the list is the file of this folder and name. Both texts are compared in
// place, with no path built per row: each search starts where the other stopped, at a row that
// matches one of the two columns, so together they read each row about once however many rows
// share the name or the folder.
bool ListNames(const CustomCellListbox& list, std::string_view folder, std::string_view name) {
    for (fw::Int32 row = list.FindRow(0, name); row >= 0; row = list.FindRow(0, name, row)) {
        const fw::Int32 inFolder = list.FindRow(2, folder, row);
        if (inFolder == row) {
            return true;
        }
        if (inFolder < 0) {
            return false;
        }
        row = inFolder;
    }
    return false;
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
    CustomCellListbox& list = AlternatingList1();
    for (fw::Int32 from = i;;) {
        const fw::Int32 row = list.FindRow(7, "Ready", from);
        if (row < 0) {
            TBConvert().SetEnabled(true);
            return;
        }

        const fw::Int32 number = fw::ToInt32(fw::Val(list.Cell(row, 6)));
        const std::string input = list.Cell(row, 2) + "/" + list.Cell(row, 0);
        const fw::Int32 rating =
            fw::VariantCast<CustomListboxCell>(list.CellTag(row, 3))->getValue();
        const fw::Int32 slot = fw::WrapSub(rating, 1);
        if (slot < 0 || static_cast<std::size_t>(slot) >= bitrate.size()) {
            throw fw::OutOfBoundsException("no bit rate for the rating " + fw::Str(rating));
        }
        const fw::Int32 rate = bitrate[static_cast<std::size_t>(slot)];
        const auto output =
            OutputPath(input, rate, [&](std::string_view folder, std::string_view name) {
                return ListNames(list, folder, name);
            });
        if (!output) {
            // Both names an output may take are files of the list; neither is written, and the
            // run goes on without this row.
            list.SetCell(row, 7, "Failed");
            from = row + 1;
            continue;
        }
        const std::string resources = ResourcesPath();

        Duration = 0;
        cAudioIndex = row;
        cAudioNo = number;
        cOutputPath = *output;

        WinShell().Execute(FfmpegCommandLine(resources, input, rate, *output));
        list.SetCell(row, 7, "Converting...");
        return;
    }
}
