#include "framework/ToolbarItem.h"
#include "mainwindow/Main.h"

// The conversion engine comes with the shell's command execution; until then Convert does
// nothing.
void Main::TransCoding(fw::Int32) {}
void Main::TBConvert_Action(fw::ToolbarItem&) {}
