#include "tools/ffmpeg/StderrRewriter.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace ffront {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c) {
    return IsDigit(c) || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Reads digits at `pos`; at least `minDigits` of them, else nothing.
std::optional<std::uint64_t> ReadNumber(std::string_view text, std::size_t& pos,
                                        std::size_t minDigits) {
    const std::size_t start = pos;
    std::uint64_t value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < 18) {
        value = value * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        ++pos;
    }
    if (pos - start < minDigits) {
        pos = start;
        return std::nullopt;
    }
    return value;
}

// At `pos` (just after "time="): [-]H+:MM:SS[.f+]. On success, `pos` is past the clock and
// the seconds form is appended to `out`.
bool RewriteClock(std::string_view text, std::size_t& pos, std::string& out) {
    std::size_t p = pos;
    const bool negative = p < text.size() && text[p] == '-';
    if (negative) {
        ++p;
    }
    const auto hours = ReadNumber(text, p, 1);
    if (!hours || p >= text.size() || text[p] != ':') {
        return false;
    }
    ++p;
    const std::size_t minutesAt = p;
    const auto minutes = ReadNumber(text, p, 2);
    if (!minutes || p - minutesAt != 2 || p >= text.size() || text[p] != ':') {
        return false;
    }
    ++p;
    const std::size_t secondsAt = p;
    const auto seconds = ReadNumber(text, p, 2);
    if (!seconds || p - secondsAt != 2) {
        return false;
    }
    const std::size_t fractionAt = p;
    if (p + 1 < text.size() && text[p] == '.' && IsDigit(text[p + 1])) {
        ++p;
        while (p < text.size() && IsDigit(text[p])) {
            ++p;
        }
    }
    if (negative) {
        out += '-';
    }
    out += std::to_string(*hours * 3600 + *minutes * 60 + *seconds);
    out.append(text.substr(fractionAt, p - fractionAt));
    pos = p;
    return true;
}

}  // namespace

std::string RewriteProgressTimes(std::string_view line) {
    static constexpr std::string_view kKey = "time=";
    std::string out;
    out.reserve(line.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t key = line.find(kKey, pos);
        if (key == std::string_view::npos) {
            out.append(line.substr(pos));
            return out;
        }
        std::size_t after = key + kKey.size();
        out.append(line.substr(pos, after - pos));
        // A key of its own, not the end of a longer name such as out_time=; what is not a
        // clock stays as it is, and the search goes on right after the key.
        if (key == 0 || !IsNameChar(line[key - 1])) {
            RewriteClock(line, after, out);
        }
        pos = after;
    }
}

StderrRewriter::StderrRewriter(Sink sink, std::string hiddenName, std::string shownName)
    : sink_(std::move(sink)),
      hiddenName_(std::move(hiddenName)),
      shownName_(std::move(shownName)) {}

void StderrRewriter::Feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            pending_.append(bytes);
            if (pending_.size() >= kMaxPending) {
                Finish();
            }
            return;
        }
        const std::string_view piece = bytes.substr(0, end + 1);
        bytes.remove_prefix(end + 1);
        if (pending_.empty()) {
            Emit(piece);
        } else {
            pending_.append(piece);
            Emit(pending_);
            pending_.clear();
        }
    }
}

void StderrRewriter::Finish() {
    if (!pending_.empty()) {
        Emit(pending_);
        pending_.clear();
    }
}

void StderrRewriter::Emit(std::string_view line) {
    std::string text = RewriteProgressTimes(line);
    if (!hiddenName_.empty()) {
        for (std::size_t at = text.find(hiddenName_); at != std::string::npos;
             at = text.find(hiddenName_, at + shownName_.size())) {
            text.replace(at, hiddenName_.size(), shownName_);
        }
    }
    sink_(text);
}

}  // namespace ffront
