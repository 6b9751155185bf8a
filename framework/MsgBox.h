#pragma once

#include <string>

namespace fw {

// A modal message box with one button; returns when the user has closed it.
void MsgBox(const std::string& text);

}  // namespace fw
