#include "conversion/OutputPath.h"

#include "framework/Strings.h"

std::string OutputPath(const std::string& inputPath, fw::Int32 bitrate) {
    const std::string suffix = "-" + fw::Str(bitrate) + "k.mp3";
    std::string path = inputPath;
    for (const char* extension : {".wma", ".wav", ".aac", ".m4a", ".ogg"}) {
        path = fw::Replace(path, extension, ".mp3");
    }
    path = fw::Replace(path, ".mp3", suffix);
    if (path == inputPath) {
        path = inputPath + suffix;
    }
    return path;
}
