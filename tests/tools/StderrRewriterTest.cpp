#include "tools/ffmpeg/StderrRewriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ffront::RewriteProgressTimes;
using ffront::StderrRewriter;

TEST(RewriteProgressTimes, WritesClocksAsSecondsAndLeavesTheRest) {
    struct Case {
        const char* name;
        const char* line;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"progress line", "size=  1kB time=00:01:23.45 bitrate= 128.0kbits/s speed=90x\r",
         "size=  1kB time=83.45 bitrate= 128.0kbits/s speed=90x\r"},
        {"hours", "time=01:02:03.04", "time=3723.04"},
        {"more than 99 hours", "time=100:00:00.00", "time=360000.00"},
        {"start of the stream", "time=00:00:00.00", "time=0.00"},
        {"before the start", "time=-00:00:01.50 x", "time=-1.50 x"},
        {"no fraction", "time=00:00:05 x", "time=5 x"},
        {"three decimals", "time=00:00:05.125", "time=5.125"},
        {"a dot without digits is not the fraction", "time=00:00:05. x", "time=5. x"},
        {"two in one line", "time=00:00:01.00 a time=00:00:02.50\n", "time=1.00 a time=2.50\n"},
        {"not known yet", "size=N/A time=N/A bitrate=N/A\r", "size=N/A time=N/A bitrate=N/A\r"},
        {"already seconds", "time=12.34", "time=12.34"},
        {"key at the end", "a time=", "a time="},
        {"one-digit minutes", "time=00:1:00.00", "time=00:1:00.00"},
        {"missing seconds", "time=00:01", "time=00:01"},
        {"longer key", "out_time=00:00:01.00 time=00:00:02.00", "out_time=00:00:01.00 time=2.00"},
        {"capital key is another key", "TIME=00:00:01.00", "TIME=00:00:01.00"},
        // The length that readers take from this stream must stay a clock.
        {"duration line", "  Duration: 00:03:25.67, start: 0.000000, bitrate: 1411 kb/s\n",
         "  Duration: 00:03:25.67, start: 0.000000, bitrate: 1411 kb/s\n"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RewriteProgressTimes(c.line), c.expected);
    }
}

std::vector<std::string> Lines(const std::vector<std::string>& reads, std::string hidden = {},
                               std::string shown = {}) {
    std::vector<std::string> lines;
    StderrRewriter rewriter([&](std::string_view line) { lines.emplace_back(line); }, hidden,
                            shown);
    for (const auto& read : reads) {
        rewriter.Feed(read);
    }
    rewriter.Finish();
    return lines;
}

TEST(StderrRewriter, HandsOnWholeLinesHoweverTheReadsCutThem) {
    struct Case {
        const char* name;
        std::vector<std::string> reads;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"a clock cut in two",
         {"size= 9kB time=00:0", "0:07.50 bitrate=1\r"},
         {"size= 9kB time=7.50 bitrate=1\r"}},
        {"a line cut in three", {"ti", "me=00:00:0", "3.00\r"}, {"time=3.00\r"}},
        {"lines joined in one read",
         {"time=00:00:01.00\rtime=00:00:02.00\rDone\n"},
         {"time=1.00\r", "time=2.00\r", "Done\n"}},
        {"the end of one line and the start of the next",
         {"a time=00:", "00:01.00\rb ti", "me=N/A\n"},
         {"a time=1.00\r", "b time=N/A\n"}},
        {"carriage return then newline", {"x\r\n"}, {"x\r", "\n"}},
        {"last line without terminator",
         {"one\n", "tail time=00:00:04.00"},
         {"one\n", "tail time=4.00"}},
        {"empty reads", {"", "a\n", ""}, {"a\n"}},
        {"nothing at all", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Lines(c.reads), c.lines);
    }
}

TEST(StderrRewriter, ShowsTheOutputsNameForTheHiddenOne) {
    EXPECT_EQ(Lines({"Output #0, mp3, to '/m/.Ab3dE9.mp3':\n",
                     "cannot open /m/.Ab3dE9.mp3 or "
                     "/m/.Ab3dE9.mp3\n"},
                    "/m/.Ab3dE9.mp3", "/m/song .Ab3dE9.mp3-128k.mp3"),
              (std::vector<std::string>{
                  "Output #0, mp3, to '/m/song .Ab3dE9.mp3-128k.mp3':\n",
                  "cannot open /m/song .Ab3dE9.mp3-128k.mp3 or /m/song .Ab3dE9.mp3-128k.mp3\n"}));
}

TEST(StderrRewriter, LetsAnEndlessLineGoOutInBoundedPieces) {
    std::vector<std::string> lines;
    StderrRewriter rewriter([&](std::string_view line) { lines.emplace_back(line); });
    const std::string chunk(1000, 'a');
    std::size_t fed = 0;
    while (fed < 3 * StderrRewriter::kMaxPending) {
        rewriter.Feed(chunk);
        fed += chunk.size();
    }
    rewriter.Feed("\n");
    rewriter.Finish();
    std::string joined;
    for (const auto& line : lines) {
        EXPECT_LE(line.size(), StderrRewriter::kMaxPending + chunk.size());
        joined += line;
    }
    EXPECT_GE(lines.size(), 3u);
    EXPECT_EQ(joined, std::string(fed, 'a') + "\n");
}

}  // namespace
