#pragma once

#include <string>

#include "framework/Core.h"

// Where the MP3 of a source goes: the first ".wma", ".wav", ".aac", ".m4a" and ".ogg" of the
// path each become ".mp3", then the first ".mp3" takes the bit rate ("-128k.mp3"), letter case
// ignored, anywhere in the path. A path that holds none of these texts would come back
// unchanged and the source would be overwritten, so it gets the suffix appended instead.
std::string OutputPath(const std::string& inputPath, fw::Int32 bitrate);
