#pragma once

#include <string>

#include "framework/Core.h"

namespace fw {

// A file opened for playing. Whether it holds anything playable shows only when a player tries.
class Movie : public Object {
public:
    explicit Movie(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace fw
