// The front around the system's ffmpeg, as the application runs it.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <regex>
#include <string>
#include <vector>

#include "tools/FrontProcess.h"

namespace {

using namespace fronttest;
using namespace std::chrono_literals;

void MakeWav(const std::string& path, int seconds) {
    Process ffmpeg(TUNEMILL_SYSTEM_FFMPEG,
                   {"-v", "error", "-f", "lavfi", "-i",
                    "sine=frequency=440:duration=" + std::to_string(seconds), "-y", path},
                   {});
    ASSERT_EQ(ExitCode(ffmpeg.Wait()), 0) << ffmpeg.err;
}

std::string AudioBitRate(const std::string& path) {
    Process probe(TUNEMILL_FFPROBE,
                  {"-v", "error", "-select_streams", "a:0", "-show_entries", "stream=bit_rate",
                   "-of", "default=nw=1:nk=1", path},
                  {});
    probe.Wait();
    return probe.out;
}

std::vector<std::string> Command(const std::string& input, const std::string& output,
                                 const char* bitRate = "128k") {
    return {"-i", input, "-y", "-ab", bitRate, "-f", "mp3", output};
}

TEST(RealFront, ConvertsWithItsClockInSecondsWhateverTheNames) {
    const std::vector<std::string> names = {
        "plain",
        "two  spaces and more",
        "it's a 'quoted' song",
        "한국어 노래",
        "$(touch marker) `x` ; \\ \"q\"",
        std::string(245 - 9, 'n'),  // with "-128k.mp3", a 245-byte name
    };
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        TempFolder folder;
        const std::string input = folder / (name + ".wav");
        const std::string output = folder / (name + "-128k.mp3");
        MakeWav(input, 3);
        Process front(TUNEMILL_FRONT, Command(input, output), {});
        ASSERT_EQ(ExitCode(front.Wait()), 0) << front.err;
        EXPECT_EQ(AudioBitRate(output), "128000\n");
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{name + "-128k.mp3", name + ".wav"}));
        // The length stays a clock; every progress value is whole seconds and hundredths.
        EXPECT_NE(front.err.find("Duration: 00:00:03.00"), std::string::npos) << front.err;
        const std::regex progress("time=([^ ]*)");
        int values = 0;
        for (auto it = std::sregex_iterator(front.err.begin(), front.err.end(), progress);
             it != std::sregex_iterator(); ++it, ++values) {
            EXPECT_TRUE(std::regex_match((*it)[1].str(), std::regex("\\d+\\.\\d\\d"))) << (*it)[0];
        }
        EXPECT_GE(values, 1);
        EXPECT_NE(front.err.find("time=3.00"), std::string::npos) << front.err;
        EXPECT_NE(front.err.find("to '" + output + "'"), std::string::npos) << front.err;
    }
}

// The front where the file system has unnamed files, and as where it has none.
struct Front {
    const char* name;
    const char* program;
    std::size_t filesMeanwhile;  // beside the source and an earlier output, while ffmpeg works
};
const std::vector<Front> kFronts = {{"unnamed", TUNEMILL_FRONT, 0},
                                    {"named", TUNEMILL_NAMED_FRONT, 1}};

TEST(RealFront, WritesTheVeryMp3ThatFfmpegWritesToAFile) {
    TempFolder folder;
    const std::string input = folder / "song.wav";
    MakeWav(input, 5);
    // Its header is rewritten at the end, which an output that cannot seek would lack.
    const std::string direct = folder / "direct.mp3";
    Process ffmpeg(TUNEMILL_SYSTEM_FFMPEG, Command(input, direct), {});
    ASSERT_EQ(ExitCode(ffmpeg.Wait()), 0) << ffmpeg.err;
    for (const auto& front : kFronts) {
        SCOPED_TRACE(front.name);
        const std::string output = folder / "song-128k.mp3";
        WriteFile(output, "earlier");
        Process run(front.program, Command(input, output), {});
        ASSERT_EQ(ExitCode(run.Wait()), 0) << run.err;
        EXPECT_EQ(AudioBitRate(output), "128000\n");
        EXPECT_TRUE(Contents(output) == Contents(direct)) << "not the MP3 that ffmpeg writes";
        EXPECT_EQ(folder.Names(),
                  (std::vector<std::string>{"direct.mp3", "song-128k.mp3", "song.wav"}));
    }
}

TEST(RealFront, AFailedRunLeavesNothingAndKeepsAnEarlierOutput) {
    TempFolder folder;
    const std::string input = folder / "song.wav";
    const std::string output = folder / "song-128k.mp3";
    MakeWav(input, 3);
    Process first(TUNEMILL_FRONT, Command(input, output), {});
    ASSERT_EQ(ExitCode(first.Wait()), 0) << first.err;
    const std::string earlier = Contents(output);

    WriteFile(folder / "notes.wav", "not audio at all");
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"an input that is no audio", Command(folder / "notes.wav", output)},
        {"an input that is not there", Command(folder / "gone.wav", output)},
        {"a bit rate the encoder refuses", Command(input, output, "-5k")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Process front(TUNEMILL_FRONT, c.args, {});
        EXPECT_NE(ExitCode(front.Wait()), 0) << front.err;
        EXPECT_EQ(folder.Names(),
                  (std::vector<std::string>{"notes.wav", "song-128k.mp3", "song.wav"}));
        EXPECT_EQ(Contents(output), earlier);
    }

    // Without an earlier output, a failure leaves none.
    const std::string fresh = folder / "fresh-128k.mp3";
    Process front(TUNEMILL_FRONT, Command(folder / "notes.wav", fresh), {});
    EXPECT_EQ(ExitCode(front.Wait()), 1);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"notes.wav", "song-128k.mp3", "song.wav"}));
}

TEST(RealFront, ANameTooLongForTheFolderFailsCleanly) {
    TempFolder folder;
    const std::string input = folder / "song.wav";
    MakeWav(input, 1);
    // Such a name is never reserved beside: ffmpeg fails on it at once, in its own words.
    const std::string output = folder / (std::string(256 - 4, 'n') + ".mp3");
    Process front(TUNEMILL_FRONT, Command(input, output), {});
    EXPECT_EQ(ExitCode(front.Wait()), 1);
    EXPECT_NE(front.err.find(output + ": File name too long\n"), std::string::npos) << front.err;
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"song.wav"}));
}

TEST(RealFront, StoppedMidRunLeavesNoFfmpegNoPartAndTheEarlierOutput) {
    TempFolder folder;
    const std::string input = folder / "it's 노래.wav";
    const std::string output = folder / "it's 노래-128k.mp3";
    MakeWav(input, 20);
    WriteFile(output, "earlier");
    for (const auto& kind : kFronts) {
        for (bool wholeGroup : {false, true}) {
            SCOPED_TRACE(std::string(kind.name) +
                         (wholeGroup ? ", the process group" : ", the front"));
            // -re reads the input at its own pace, so the run is surely still going.
            std::vector<std::string> args = Command(input, output);
            args.insert(args.begin(), "-re");
            Process front(kind.program, args, {.env = {}, .ownGroup = true});
            ASSERT_TRUE(front.ReadUntil("time=", 10s)) << front.err;
            const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 1s);
            ASSERT_GT(ffmpeg, 0);
            ASSERT_EQ(folder.Names().size(), 2 + kind.filesMeanwhile);
            kill(wholeGroup ? -front.Pid() : front.Pid(), SIGTERM);
            EXPECT_EQ(DeathSignal(front.Wait()), SIGTERM);
            EXPECT_FALSE(Running(ffmpeg));
            EXPECT_EQ(folder.Names(),
                      (std::vector<std::string>{"it's 노래-128k.mp3", "it's 노래.wav"}));
            EXPECT_EQ(Contents(output), "earlier");
        }
    }
}

// An input that never opens, as a FIFO without a writer or a hung network mount: ffmpeg
// waits in open(), where the stop signal that the front passes on does not reach it.
TEST(RealFront, StoppedWhileFfmpegWaitsForItsInputItEndsItAndLeavesNothing) {
    TempFolder folder;
    const std::string input = folder / "a fifo.wav";
    const std::string output = folder / "a fifo-128k.mp3";
    ASSERT_EQ(mkfifo(input.c_str(), 0600), 0);
    WriteFile(output, "earlier");
    for (const auto& kind : kFronts) {
        SCOPED_TRACE(kind.name);
        Process front(kind.program, Command(input, output), {});
        const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 5s);
        ASSERT_GT(ffmpeg, 0);
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (!testproc::BlockedOpeningAFifo(ffmpeg) && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(10ms);
        }
        ASSERT_TRUE(testproc::BlockedOpeningAFifo(ffmpeg));
        ASSERT_EQ(folder.Names().size(), 2 + kind.filesMeanwhile);
        kill(front.Pid(), SIGTERM);
        // Inside the 3 s after which the application's shell kills the whole chain.
        const bool ended = GoneWithin(front.Pid(), 3s);
        EXPECT_TRUE(ended);
        EXPECT_FALSE(Running(ffmpeg));
        if (!ended) {
            kill(ffmpeg, SIGKILL);  // which would otherwise wait for its input for good
        }
        EXPECT_EQ(DeathSignal(front.Wait()), SIGTERM);
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a fifo-128k.mp3", "a fifo.wav"}));
        EXPECT_EQ(Contents(output), "earlier");
    }
}

}  // namespace
