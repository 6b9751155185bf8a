#include "mainwindow/Main.h"

// The contextual menu and the delete keys come later; until then the list handles both itself.
bool Main::AlternatingList1_MouseDown(fw::Listbox&, fw::Int32, fw::Int32) {
    return false;
}
bool Main::AlternatingList1_KeyDown(fw::Listbox&, const std::string&) {
    return false;
}
