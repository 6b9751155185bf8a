#pragma once

#include <memory>

#include "framework/Application.h"

// The application object. It adds nothing to the framework's.
class App : public fw::Application {
public:
    // The one registered application object.
    static std::shared_ptr<App> Current();
};
