#pragma once

#include <memory>
#include <string>

#include "framework/Application.h"

// The application object. It adds its name to the framework's.
class App : public fw::Application {
public:
    std::string Name() const override { return "Tunemill"; }
    // The one registered application object.
    static std::shared_ptr<App> Current();
};
