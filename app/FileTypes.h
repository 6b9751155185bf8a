#pragma once

#include <memory>

#include "framework/FileType.h"

// The application's file types, program-wide from start-up to shut-down.
namespace FileTypes {

// The type "Audio"; registered while this holds it.
extern std::shared_ptr<fw::FileType> pAudio;

void Initialize();

}  // namespace FileTypes
