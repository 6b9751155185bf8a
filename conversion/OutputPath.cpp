#include "conversion/OutputPath.h"

#include "framework/Strings.h"

std::string OutputPath(const std::string& inputPath, fw::Int32 bitrate) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely on a chain of + that begins with a
    // literal.
    std::string suffix = "-";
    suffix.append(fw::Str(bitrate)).append("k.mp3");
    std::string path = inputPath;
    for (const char* extension : {".wma", ".wav", ".aac", ".m4a", ".ogg"}) {
        path = fw::Replace(path, extension, ".mp3");
    }
    path = fw::Replace(path, ".mp3", suffix);
    if (path == inputPath) {
        path = inputPath;
        path.append(suffix);
    }
    return path;
}
