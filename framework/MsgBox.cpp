#include "framework/MsgBox.h"

#include "framework/ModalUI.h"

namespace fw {

void MsgBox(const std::string& text) {
    CurrentModalUI().ShowMessage(text);
}

}  // namespace fw
