#pragma once

#include <optional>
#include <string>

#include "framework/Core.h"

// What one chunk of ffmpeg's output tells. Nothing carries over from one chunk to the next
// but the duration, so a line split over two chunks is found in neither.
struct FfmpegOutput {
    // The length in seconds: read from "duration: HH:MM:SS" while the known one is not
    // positive, otherwise the known one.
    fw::Int32 duration = 0;
    // The whole seconds of the chunk's first "time=" value, if it has one.
    std::optional<fw::Int32> seconds;
};

FfmpegOutput ReadFfmpegOutput(const std::string& text, fw::Int32 knownDuration);

// t seconds of a file of that length as a percentage, unclamped; none when the length is not
// positive, since there is nothing to divide by.
std::optional<fw::Int32> ProgressPercentage(fw::Int32 seconds, fw::Int32 duration);
