#pragma once

#include <string>

#include "framework/Core.h"

// A text to stand between single quotes in a /bin/sh command line: each single quote in it
// closes the quoting, adds an escaped quote and opens it again ('\''), so the text reaches the
// program as one unchanged argument whatever it holds.
std::string QuotedForShell(const std::string& text);

// The line that converts one file:
// '<resources>/ffmpeg' -i '<input>' -y -ab <bitrate>k -f mp3 '<output>'
std::string FfmpegCommandLine(const std::string& resourcesPath, const std::string& inputPath,
                              fw::Int32 bitrate, const std::string& outputPath);
