#include "conversion/FfmpegOutput.h"

#include "framework/Int32Math.h"
#include "framework/RegEx.h"
#include "framework/Strings.h"

FfmpegOutput ReadFfmpegOutput(const std::string& text, fw::Int32 knownDuration) {
    FfmpegOutput result;
    result.duration = knownDuration;
    fw::RegEx re;

    if (result.duration <= 0) {
        re.SearchPattern = "duration: \\d\\d:\\d\\d:\\d\\d";
        if (const auto line = re.Search(text)) {
            re.SearchPattern = "\\d\\d";
            const auto hours = re.Search(line->SubExpressionString(0));
            fw::Int32 duration = fw::ToInt32(fw::Val(hours->SubExpressionString(0)) * 60.0 * 60.0);
            const auto minutes = re.Search();
            duration = fw::ToInt32(static_cast<double>(duration) +
                                   fw::Val(minutes->SubExpressionString(0)) * 60.0);
            const auto seconds = re.Search();
            duration = fw::ToInt32(static_cast<double>(duration) +
                                   fw::Val(seconds->SubExpressionString(0)));
            result.duration = duration;
        }
    }

    re.SearchPattern = "time=[\\d]+";
    if (const auto progress = re.Search(text)) {
        re.SearchPattern = "[\\d]+";
        const auto digits = re.Search(progress->SubExpressionString(0));
        result.seconds = fw::ToInt32(fw::Val(digits->SubExpressionString(0)));
    }
    return result;
}

std::optional<fw::Int32> ProgressPercentage(fw::Int32 seconds, fw::Int32 duration) {
    if (duration <= 0) {
        return std::nullopt;
    }
    return fw::ToInt32(static_cast<double>(seconds) / static_cast<double>(duration) * 100.0);
}
