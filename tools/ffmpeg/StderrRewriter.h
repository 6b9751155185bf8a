#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ffront {

// ffmpeg writes its clock as time=HH:MM:SS.cc; readers of this stream take the digits after
// "time=" as whole seconds. Each such clock becomes time=SECONDS.cc (a leading minus kept);
// time=N/A, keys that merely end in "time=" (out_time=) and everything else stay as they are.
std::string RewriteProgressTimes(std::string_view line);

// Cuts a byte stream into lines ending in \r or \n (terminator kept) and hands each on,
// rewritten, as one piece, so that a reader of a pipe never sees half a line. ffmpeg names
// the file it writes as it was given; `hiddenName` is shown as `shownName` instead.
class StderrRewriter {
public:
    using Sink = std::function<void(std::string_view)>;

    StderrRewriter(Sink sink, std::string hiddenName = {}, std::string shownName = {});

    void Feed(std::string_view bytes);
    // The last line, when the stream ended without a terminator.
    void Finish();

    // A stream that never ends a line must not grow without bound: past this, the pending
    // bytes go out as they are.
    static constexpr std::size_t kMaxPending = 64 * 1024;

private:
    void Emit(std::string_view line);

    Sink sink_;
    std::string hiddenName_;
    std::string shownName_;
    std::string pending_;
};

}  // namespace ffront
