#pragma once

#include <memory>
#include <string>

#include "framework/Control.h"

namespace fw {

// Runs a command line through /bin/sh without waiting; its merged output and its end arrive as
// the events DataAvailable and Completed, from the event loop.
class Shell : public Control {
public:
    Shell();
    ~Shell() override;
    const PropertyTable& Properties() const override;

    Int32 TimeOut() const { return timeOut_; }
    Int32 Mode() const { return mode_; }

private:
    Int32 timeOut_ = 0;
    Int32 mode_ = 0;
};

}  // namespace fw
