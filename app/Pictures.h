#pragma once

#include <memory>

#include "framework/Picture.h"

// The toolbar pictures of the Resources folder, each read at its first successful use and kept
// until the process ends; a failed read leaves nothing held and is tried again next time.
std::shared_ptr<fw::Picture> file();
std::shared_ptr<fw::Picture> file_mask();
std::shared_ptr<fw::Picture> folder();
std::shared_ptr<fw::Picture> folder_mask();
std::shared_ptr<fw::Picture> play();
std::shared_ptr<fw::Picture> play_mask();
std::shared_ptr<fw::Picture> stop();
std::shared_ptr<fw::Picture> stop_mask();
std::shared_ptr<fw::Picture> convert();
std::shared_ptr<fw::Picture> convert_mask();
