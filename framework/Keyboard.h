#pragma once

#include "framework/Core.h"

namespace fw {

// The physical state of the keyboard, by Mac virtual key code (51 Delete, 117 Forward Delete).
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
