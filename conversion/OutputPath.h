#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "framework/Core.h"

// Whether the list names the file of this folder and name; the folder is written as the list's
// folder column holds it, without the slash that joins it to the name.
using ListedFile = std::function<bool(std::string_view folder, std::string_view name)>;

// Where the MP3 of a source goes, beside it: the first ".wma", ".wav", ".aac", ".m4a" and ".ogg"
// of the file's name each become ".mp3", then the first ".mp3" takes the bit rate ("-128k.mp3"),
// letter case ignored. The folder is never searched, so no output lands in another folder.
//
// A file of the list is never written, and the source is one of them: when the rule's name is
// the source or a listed file, the output is the source's path with "-128k.mp3" (its bit rate)
// appended. When that too is listed there is no name that is safe to write: nullopt.
std::optional<std::string> OutputPath(const std::string& inputPath, fw::Int32 bitrate,
                                      const ListedFile& listed = nullptr);
