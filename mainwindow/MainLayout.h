#pragma once

#include <string>

// The layout values of the main window and its controls, as property sets.
namespace MainLayout {

std::string Window();
std::string AlternatingList1();
std::string WinShell();
std::string ToolbarButton(const std::string& name, const std::string& caption);
std::string StandardItem(const std::string& name, int type);
std::string Player();
std::string Rectangle1();
std::string StatusBar();

}  // namespace MainLayout
