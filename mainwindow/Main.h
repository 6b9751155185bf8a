#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Window.h"

class CustomCellListbox;
namespace fw {
class DragItem;
class FolderItem;
class Listbox;
class MoviePlayer;
class Rectangle;
class Shell;
class StandardToolbarItem;
class StaticText;
class ToolbarItem;
}  // namespace fw

// The application's only window: the list of audio rows, the shell that runs ffmpeg, the
// toolbar, the hidden player and the status line, and the fields that carry a conversion run
// from one row to the next. Its methods live in the folders of what they do.
class Main : public fw::Window {
public:
    // The window that exists, or a new one when there is none: there are never two.
    static std::shared_ptr<Main> Instance();

    // The controls, looked up by name at every use; a missing one raises NilObjectException.
    CustomCellListbox& AlternatingList1() const;
    fw::Shell& WinShell() const;
    fw::ToolbarItem& TBFile() const;
    fw::ToolbarItem& TBFolder() const;
    fw::StandardToolbarItem& StandardToolbarItem1() const;
    fw::MoviePlayer& Player() const;
    fw::ToolbarItem& TBPlay() const;
    fw::ToolbarItem& TBStop() const;
    fw::StandardToolbarItem& StandardToolbarItem2() const;
    fw::ToolbarItem& TBConvert() const;
    fw::Rectangle& Rectangle1() const;
    fw::StaticText& StatusBar() const;

    // The last row number given out; it only grows.
    fw::Int32 audioIndex = 0;
    // The list index and the number of the row being converted.
    fw::Int32 cAudioIndex = 0;
    fw::Int32 cAudioNo = 0;
    // The length in seconds of the file being converted: 0 until known, -1 after a file ends.
    fw::Int32 Duration = 0;
    // kbit/s for ratings 1, 2 and 3; empty until the window opens.
    std::vector<fw::Int32> bitrate;
    // The file that the running conversion writes, to tell at its end whether it succeeded.
    std::string cOutputPath;

    // The window's events.
    void Layout() override;
    void CreateControls() override;
    void CreateControls0();
    void Event_Open() override;

    // Control events.
    void AlternatingList1_Open(fw::Listbox& sender);
    void AlternatingList1_DropObject(fw::Listbox& sender, fw::DragItem& obj, fw::Int32 action);
    void AlternatingList1_DoubleClick(fw::Listbox& sender);
    bool AlternatingList1_MouseDown(fw::Listbox& sender, fw::Int32 x, fw::Int32 y);
    bool AlternatingList1_KeyDown(fw::Listbox& sender, const std::string& key);
    void AlternatingList1_Change(fw::Listbox& sender);
    void WinShell_DataAvailable(fw::Shell& sender);
    void WinShell_Completed(fw::Shell& sender);
    void TBFile_Open(fw::ToolbarItem& sender);
    void TBFile_Action(fw::ToolbarItem& sender);
    void TBFolder_Open(fw::ToolbarItem& sender);
    void TBFolder_Action(fw::ToolbarItem& sender);
    void Player_Stop(fw::MoviePlayer& sender);
    void Player_Play(fw::MoviePlayer& sender);
    void TBPlay_Open(fw::ToolbarItem& sender);
    void TBPlay_Action(fw::ToolbarItem& sender);
    void TBStop_Open(fw::ToolbarItem& sender);
    void TBStop_Action(fw::ToolbarItem& sender);
    void TBConvert_Open(fw::ToolbarItem& sender);
    void TBConvert_Action(fw::ToolbarItem& sender);

    // Operations used from several places.
    void AddAudioRow(const std::shared_ptr<fw::FolderItem>& f);
    void RefreshCellIndex(fw::Int32 n);
    void TransCoding(fw::Int32 i);
    void PlayMusic();
    void OpenFile();
    void OpenFolder();
    void Remove();
    void PrintStatus();

private:
    // Makes cAudioIndex the converting row's present index again, found by its number.
    void FindConvertingRow();

    template <class Sender, class R, class... A>
    std::function<R(Sender&, A...)> Handler(R (Main::*method)(Sender&, A...)) {
        return [this, method](Sender& sender, A... args) {
            return (this->*method)(sender, std::forward<A>(args)...);
        };
    }
};
