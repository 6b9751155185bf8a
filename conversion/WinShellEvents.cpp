#include "framework/Shell.h"
#include "mainwindow/Main.h"

void Main::WinShell_DataAvailable(fw::Shell&) {}
void Main::WinShell_Completed(fw::Shell&) {}
