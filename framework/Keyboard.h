#pragma once

#include "framework/Core.h"

namespace fw {

// The physical state of the keyboard, by Mac virtual key code (51 Delete, 117 Forward Delete):
// BackSpace, and Delete or the keypad's Delete. On an X server the server answers; elsewhere the
// key events tell, and a release that never arrived is forgotten at the next modal session's
// start or end and when the application loses the keyboard.
class Keyboard {
public:
    static constexpr Int32 kDelete = 51;
    static constexpr Int32 kForwardDelete = 117;
    // Whether the key is held down at this moment.
    static bool AsyncKeyDown(Int32 virtualKeyCode);
};

// Follows key presses and releases application-wide; the runtime installs it at start.
void InstallKeyboardTracking();

}  // namespace fw
