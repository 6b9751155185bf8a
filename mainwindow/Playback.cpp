#include "framework/MoviePlayer.h"
#include "framework/ToolbarItem.h"
#include "mainwindow/Main.h"

// Playback comes with the player; until then these handlers are connected and do nothing.
void Main::PlayMusic() {}
void Main::AlternatingList1_DoubleClick(fw::Listbox&) {}
void Main::TBPlay_Action(fw::ToolbarItem&) {}
void Main::TBStop_Action(fw::ToolbarItem&) {}
void Main::Player_Play(fw::MoviePlayer&) {}
void Main::Player_Stop(fw::MoviePlayer&) {}
