#include "tools/ffmpeg/OutputTarget.h"

#include <algorithm>
#include <array>

namespace ffront {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "pipe:", "file:", "http://...": ffmpeg's protocols, a scheme of letters before a colon.
bool HasProtocol(std::string_view arg) {
    const std::size_t colon = arg.find(':');
    if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(arg[0])) {
        return false;
    }
    return std::all_of(arg.begin(), arg.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
    });
}

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Options that take no value, and so may stand right before the output.
bool IsFlag(std::string_view arg) {
    static constexpr std::array<std::string_view, 6> kFlags = {"-y",  "-vn", "-an",
                                                               "-sn", "-dn", "-shortest"};
    return std::find(kFlags.begin(), kFlags.end(), arg) != kFlags.end();
}

}  // namespace

std::optional<std::size_t> FindOutputArgument(const std::vector<std::string>& args) {
    if (args.size() < 3) {
        return std::nullopt;
    }
    const std::size_t last = args.size() - 1;
    const std::string_view output = args[last];
    const std::string_view base = BaseName(output);
    if (output.empty() || output[0] == '-' || HasProtocol(output) || base.empty() || base == "." ||
        base == "..") {
        return std::nullopt;
    }
    const std::string_view before = args[last - 1];
    if (!before.empty() && before[0] == '-' && !IsFlag(before)) {
        return std::nullopt;
    }
    bool input = false;
    bool overwrite = false;
    for (std::size_t i = 0; i < last; ++i) {
        input = input || (args[i] == "-i" && i + 1 < last);
        overwrite = overwrite || args[i] == "-y";
    }
    if (!input || !overwrite) {
        return std::nullopt;
    }
    return last;
}

bool OutputFormatNamed(const std::vector<std::string>& args, std::size_t outputAt) {
    std::size_t from = 0;
    for (std::size_t i = 0; i + 1 < outputAt; ++i) {
        if (args[i] == "-i") {
            from = i + 2;
        }
    }
    for (std::size_t i = from; i + 1 < outputAt; ++i) {
        if (args[i] == "-f") {
            return !args[i + 1].empty();
        }
    }
    return false;
}

std::string FolderOf(std::string_view output) {
    const std::string_view folder = output.substr(0, output.size() - BaseName(output).size());
    return folder.empty() ? std::string(".") : std::string(folder);
}

std::string TemporaryPathFor(std::string_view output, std::string_view letters) {
    static constexpr std::size_t kLongestExtension = 16;
    const std::string_view base = BaseName(output);
    std::string_view extension;
    const std::size_t dot = base.rfind('.');
    if (dot != std::string_view::npos && dot > 0 && base.size() - dot <= kLongestExtension) {
        extension = base.substr(dot);
    }
    std::string path(output.substr(0, output.size() - base.size()));
    path += '.';
    path += letters;
    path += extension;
    return path;
}

}  // namespace ffront
