#include "conversion/FfmpegOutput.h"
#include "framework/FolderItem.h"
#include "framework/Int32Math.h"
#include "framework/Shell.h"
#include "framework/Strings.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

void Main::FindConvertingRow() {
    // Rows may have been sorted, dragged or removed since the last event: the number in column
    // 6 is what identifies the converting row. An index past the last row means rows above it
    // were removed; that is the one failure expected here.
    bool moved = false;
    try {
        moved = AlternatingList1().Cell(cAudioIndex, 6) != fw::Str(cAudioNo);
    } catch (const fw::OutOfBoundsException&) {
        moved = true;
    }
    if (moved) {
        RefreshCellIndex(cAudioNo);
    }
}

void Main::WinShell_DataAvailable(fw::Shell& sender) {
    const FfmpegOutput output = ReadFfmpegOutput(sender.ReadAll(), Duration);
    Duration = output.duration;
    if (!output.seconds) {
        return;
    }
    FindConvertingRow();
    // Before the length is known there is nothing to measure the time against.
    const auto percentage = ProgressPercentage(*output.seconds, Duration);
    if (!percentage) {
        return;
    }
    fw::VariantCast<CustomListboxCell>(AlternatingList1().CellTag(cAudioIndex, 4))
        ->setValue(*percentage);
    AlternatingList1().InvalidateCell(cAudioIndex, 4);
}

void Main::WinShell_Completed(fw::Shell& sender) {
    FindConvertingRow();
    // A command that failed, was killed or left no MP3 must not look like a success; its row
    // keeps the progress it reached.
    const fw::FolderItem output(cOutputPath);
    const bool succeeded = sender.ExitedNormally() && sender.ErrorCode() == 0 && output.Exists() &&
                           output.Length() > 0;
    if (succeeded) {
        fw::VariantCast<CustomListboxCell>(AlternatingList1().CellTag(cAudioIndex, 4))
            ->setValue(100);
    }
    AlternatingList1().SetCell(cAudioIndex, 7, succeeded ? "Complete" : "Failed");
    AlternatingList1().InvalidateCell(cAudioIndex, 4);
    Duration = -1;
    TransCoding(fw::WrapAdd(cAudioIndex, 1));
}
