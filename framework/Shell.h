#pragma once

#include <memory>
#include <string>

#include "framework/Control.h"

namespace fw {

// Runs a command line through /bin/sh without waiting; its merged output and its end arrive as
// the events DataAvailable and Completed, from the event loop, never from inside Execute.
// Completed comes after the last DataAvailable of its command.
//
// The command runs in a process group of its own, because /bin/sh stays between us and what it
// runs: ending the shell's process alone would leave its command running. Destroying the shell,
// quitting the application, or the application dying outright ends the whole group.
class Shell : public Control {
public:
    Shell();
    ~Shell() override;
    const PropertyTable& Properties() const override;

    // Starts the command; a command still running is ended first.
    void Execute(const std::string& commandLine);
    // All output waiting since the last read, consumed.
    std::string ReadAll();
    bool IsRunning() const;
    // How the last command ended: its exit status, or -1 while it runs or when it was ended by
    // a signal (then ExitedNormally is False).
    Int32 ErrorCode() const { return errorCode_; }
    bool ExitedNormally() const { return exitedNormally_; }
    // Ends the running command's whole process group, waiting briefly for it to clean up.
    void Close();

    Int32 TimeOut() const { return timeOut_; }
    Int32 Mode() const { return mode_; }

private:
    struct Impl;
    friend struct Impl;

    Int32 timeOut_ = 0;
    Int32 mode_ = 0;
    Int32 errorCode_ = -1;
    bool exitedNormally_ = false;
    std::unique_ptr<Impl> impl_;
};

// SIGTERM, SIGINT and SIGHUP quit the application as closing its window does; the runtime
// installs this at start.
void InstallQuitOnTerminationSignals();

}  // namespace fw
