#pragma once

#include <memory>
#include <string>

#include "framework/Core.h"

namespace fw {

class FolderItem;

// The application object; a program derives its own and registers one instance.
class Application : public Object {
public:
    // The program's name as its users know it, which titles its message boxes; empty keeps the
    // executable's name.
    virtual std::string Name() const { return {}; }
    // The running executable's file.
    std::shared_ptr<FolderItem> ExecutableFile() const;
};

// The framework's life: initialise (makes the toolkit's application), run the event loop,
// release what it holds, shut down.
class Runtime {
public:
    Runtime(int& argc, char** argv);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Runs the event loop until the application quits; the exit status.
    int Run();
    // Releases the framework's program-wide values: its windows and the application object.
    void ReleaseGlobals();

    static void SetApplication(std::shared_ptr<Application> app);
    static std::shared_ptr<Application> CurrentApplication();
    // Where ExecutableFile points; tests lay out an application folder of their own.
    static void SetExecutablePath(const std::string& path);
    static std::string ExecutablePath();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fw
