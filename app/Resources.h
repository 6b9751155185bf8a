#pragma once

#include <memory>

#include "framework/FolderItem.h"

// The folder "Resources" beside the executable's folder: the pictures and ffmpeg live there.
std::shared_ptr<fw::FolderItem> GetApplicationBundleResources();
