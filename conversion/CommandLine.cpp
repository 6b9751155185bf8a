#include "conversion/CommandLine.h"

#include "framework/Strings.h"

std::string QuotedForShell(const std::string& text) {
    return fw::ReplaceAll(text, "'", "'\\''");
}

std::string FfmpegCommandLine(const std::string& resourcesPath, const std::string& inputPath,
                              fw::Int32 bitrate, const std::string& outputPath) {
    std::string line = "'";
    line.append(QuotedForShell(resourcesPath))
        .append("/ffmpeg' -i '")
        .append(QuotedForShell(inputPath))
        .append("' -y -ab ")
        .append(fw::Str(bitrate))
        .append("k -f mp3 '")
        .append(QuotedForShell(outputPath))
        .append("'");
    return line;
}
