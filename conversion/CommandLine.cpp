#include "conversion/CommandLine.h"

#include "framework/Strings.h"

std::string QuotedForShell(const std::string& text) {
    return fw::ReplaceAll(text, "'", "'\\''");
}

std::string FfmpegCommandLine(const std::string& resourcesPath, const std::string& inputPath,
                              fw::Int32 bitrate, const std::string& outputPath) {
    return "'" + QuotedForShell(resourcesPath) + "/ffmpeg' -i '" + QuotedForShell(inputPath) +
           "' -y -ab " + fw::Str(bitrate) + "k -f mp3 '" + QuotedForShell(outputPath) + "'";
}
