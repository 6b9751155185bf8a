// The front around a scripted stand-in for ffmpeg, for the outcomes that the real one cannot
// be made to give on cue.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "tools/FrontProcess.h"

namespace {

using namespace fronttest;
using namespace std::chrono_literals;

// The scene's last argument, the file ffmpeg would write, as $o.
const std::string kOutput = "for o; do :; done; ";

// The front as it runs where the folder's file system has unnamed files, and as it runs where
// it has none.
struct Kind {
    const char* name;
    const char* front;
    bool unnamed;
};
void PrintTo(const Kind& kind, std::ostream* out) {
    *out << kind.name;
}
const Kind kUnnamed = {"Unnamed", TUNEMILL_SCRIPTED_FRONT, true};
const Kind kNamed = {"Named", TUNEMILL_SCRIPTED_NAMED_FRONT, false};

class ScriptedFront : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override { WriteFile(input, "RIFF"); }

    std::vector<std::string> Args() const {
        return {"-i", input, "-y", "-ab", "128k", "-f", "mp3", output};
    }
    std::vector<std::string> Left() const { return folder.Names(); }
    const char* Front() const { return GetParam().front; }

    TempFolder folder;
    std::string input = folder / "in put.wav";
    std::string output = folder / "in put-128k.mp3";
};

TEST_P(ScriptedFront, PassesTheExitStatusOnAndKeepsOnlyAWholeOutput) {
    struct Case {
        const char* name;
        std::string scene;
        bool earlier;
        int exitCode;
        const char* left;  // what the output holds afterwards; null: no output
    };
    const std::vector<Case> cases = {
        {"success", kOutput + "printf new > \"$o\"", false, 0, "new"},
        {"success over an earlier output", kOutput + "printf new > \"$o\"", true, 0, "new"},
        // The application takes an exit status of 0 with an MP3 there for a conversion done.
        {"success that wrote nothing", kOutput + ": > \"$o\"", false, 1, nullptr},
        {"success that wrote nothing keeps the earlier output", "exit 0", true, 1, "old"},
        {"failure after a part", kOutput + "printf half > \"$o\"; exit 1", false, 1, nullptr},
        {"failure keeps the earlier output", kOutput + "printf half > \"$o\"; exit 3", true, 3,
         "old"},
        {"status 255", kOutput + "printf half > \"$o\"; exit 255", true, 255, "old"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(output);
        if (c.earlier) {
            WriteFile(output, "old");
        }
        Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + c.scene}});
        EXPECT_EQ(ExitCode(front.Wait()), c.exitCode);
        if (c.left != nullptr) {
            EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
            EXPECT_EQ(Contents(output), c.left);
        } else {
            EXPECT_EQ(Left(), (std::vector<std::string>{"in put.wav"}));
        }
    }
}

TEST_P(ScriptedFront, ANewOutputKeepsTheModeOfTheOneItReplaces) {
    const std::string scene = kOutput + "printf new > \"$o\"";
    const mode_t savedMask = umask(027);
    for (const std::optional<mode_t> earlier :
         {std::optional<mode_t>(0604), std::optional<mode_t>()}) {
        SCOPED_TRACE(earlier ? "over an earlier output" : "a first output");
        std::filesystem::remove(output);
        if (earlier) {
            WriteFile(output, "old");
            ASSERT_EQ(chmod(output.c_str(), *earlier), 0);
        }
        Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + scene}});
        EXPECT_EQ(ExitCode(front.Wait()), 0);
        struct stat written {};
        ASSERT_EQ(stat(output.c_str(), &written), 0);
        // Without one, what a file that ffmpeg made itself would get.
        EXPECT_EQ(written.st_mode & 0777, earlier.value_or(0640));
    }
    umask(savedMask);
}

TEST_P(ScriptedFront, DiesOfTheSignalThatKilledFfmpegAfterRemovingItsPart) {
    WriteFile(output, "old");
    for (int signalNumber : {SIGKILL, SIGUSR1, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        const std::string scene =
            kOutput + "printf half > \"$o\"; kill -" + std::to_string(signalNumber) + " $$";
        Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + scene}});
        EXPECT_EQ(DeathSignal(front.Wait()), signalNumber);
        EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
        EXPECT_EQ(Contents(output), "old");
    }
}

TEST_P(ScriptedFront, AFinishedFileThatCannotTakeItsNameIsDiscardedAndSaysWhy) {
    // A folder that appeared at the output's path while ffmpeg worked cannot be replaced.
    const std::string scene = kOutput + "printf new > \"$o\"; mkdir \"$BLOCKER\"";
    Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + scene, "BLOCKER=" + output}});
    EXPECT_EQ(ExitCode(front.Wait()), 1);
    EXPECT_EQ(front.err,
              "ffmpeg: cannot save the converted file as '" + output + "': Is a directory\n");
    EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
    EXPECT_TRUE(std::filesystem::is_directory(output));
}

TEST_P(ScriptedFront, HandsOnTheArgumentsWithATemporaryFileInTheOutputsFolder) {
    // What it is told to write, then what that is, then what the folder shows meanwhile.
    const std::string scene =
        "printf '%s\\n' \"$@\"; readlink /proc/self/fd/0 >&2; " + kOutput +
        "echo \"to '$o'\" >&2; readlink \"$o\" || echo plain; ls -A \"$FOLDER\"; printf x > \"$o\"";
    Process front(Front(), Args(),
                  {{"TUNEMILL_SCENE=" + scene, "FOLDER=" + folder.Path().string()}});
    EXPECT_EQ(ExitCode(front.Wait()), 0);
    std::vector<std::string> seen;
    std::istringstream lines(front.out);
    for (std::string line; std::getline(lines, line);) {
        seen.push_back(line);
    }
    const auto args = Args();
    ASSERT_GE(seen.size(), args.size());
    EXPECT_EQ(std::vector<std::string>(seen.begin(), seen.begin() + args.size() - 1),
              std::vector<std::string>(args.begin(), args.end() - 1));
    const std::string told = seen[args.size() - 1];
    const std::vector<std::string> during(seen.begin() + args.size() + 1, seen.end());
    if (GetParam().unnamed) {
        EXPECT_TRUE(std::regex_match(told, std::regex("/proc/self/fd/[0-9]+"))) << told;
        // An unnamed file of the output's folder: nothing to see there until it is kept.
        const std::string file = seen[args.size()];
        EXPECT_EQ(file.rfind(folder.Path().string() + "/#", 0), 0u) << file;
        EXPECT_TRUE(file.ends_with(" (deleted)")) << file;
        EXPECT_EQ(during, (std::vector<std::string>{"in put.wav"}));
    } else {
        const std::filesystem::path hidden = told;
        EXPECT_EQ(hidden.parent_path(), folder.Path());
        EXPECT_EQ(hidden.filename().string().size(), 11u) << hidden;
        EXPECT_EQ(hidden.filename().string()[0], '.');
        EXPECT_EQ(hidden.extension(), ".mp3");
        EXPECT_EQ(seen[args.size()], "plain");
        EXPECT_EQ(during, (std::vector<std::string>{hidden.filename().string(), "in put.wav"}));
    }
    EXPECT_EQ(Contents(output), "x");
    // Standard input is empty, and ffmpeg's messages name the output, not the hidden file.
    EXPECT_EQ(front.err, "/dev/null\nto '" + output + "'\n");
}

TEST_P(ScriptedFront, WritesEachLineWholeAndItsClockInSeconds) {
    const std::string scene =
        "printf 'size= time=00:0' >&2; sleep 0.3; printf '0:01.50 x\\r' >&2; sleep 0.3; "
        "printf 'size= time=01:00:02.00 y\\rDuration: 00:00:03.00\\n' >&2; printf tail >&2; " +
        kOutput + "printf x > \"$o\"";
    Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + scene}});
    EXPECT_EQ(ExitCode(front.Wait()), 0);
    EXPECT_EQ(front.err, "size= time=1.50 x\rsize= time=3602.00 y\rDuration: 00:00:03.00\ntail");
    ASSERT_GE(front.errReads.size(), 2u);
    // The half line waited for its end instead of going out alone.
    EXPECT_EQ(front.errReads[0], "size= time=1.50 x\r");
    for (std::size_t i = 0; i + 1 < front.errReads.size(); ++i) {
        const char last = front.errReads[i].back();
        EXPECT_TRUE(last == '\r' || last == '\n') << front.errReads[i];
    }
}

TEST_P(ScriptedFront, LeavesRunsWithoutAFileToReplaceAsTheyAre) {
    const std::string link = folder / "link.mp3";
    const std::string target = folder / "target.mp3";
    WriteFile(target, "old");
    std::filesystem::create_symlink(target, link);
    // Stands for a device: never /dev/null itself, which a broken front would replace.
    const std::string fifo = folder / "fifo.mp3";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"version", {"-version"}},
        {"standard output", {"-i", input, "-y", "-f", "mp3", "-"}},
        {"not a plain file", {"-i", input, "-y", "-f", "mp3", fifo}},
        {"a link", {"-i", input, "-y", link}},
        {"no -y", {"-i", input, output}},
        {"a folder that is not there", {"-i", input, "-y", folder / "gone/x.mp3"}},
    };
    // Writes where it was told to, as ffmpeg would, unless that is the fifo or nowhere.
    const std::string scene =
        "printf '%s\\n' \"$@\"; " + kOutput +
        "case \"$o\" in */fifo.mp3|*/gone/*|-*) ;; *.mp3) printf new > \"$o\";; esac";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Process front(Front(), c.args, {{"TUNEMILL_SCENE=" + scene}});
        EXPECT_EQ(ExitCode(front.Wait()), 0);
        std::string expected;
        for (const auto& arg : c.args) {
            expected += arg + "\n";
        }
        EXPECT_EQ(front.out, expected);
        std::filesystem::remove(output);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Contents(target), "new");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(Left(),
              (std::vector<std::string>{"fifo.mp3", "in put.wav", "link.mp3", "target.mp3"}));
}

// ffmpeg stand-ins that have written part of their file and then wait: one that says which
// stop signal it got and then dies of it, and one that ignores them all, as an ffmpeg blocked
// in open() does.
const std::string kHears = kOutput + R"(printf half > "$o"; for s in TERM INT HUP; do
        trap "echo got $s >&2; kill \$! 2>/dev/null; trap - $s; kill -$s \$\$" $s
    done; sleep 30 >/dev/null 2>&1 & echo ready >&2; wait)";
const std::string kIgnores =
    kOutput + R"(trap '' TERM INT HUP; printf half > "$o"; echo ready >&2; exec sleep 30)";

std::string SignalName(int signalNumber) {
    switch (signalNumber) {
        case SIGTERM:
            return "TERM";
        case SIGINT:
            return "INT";
        case SIGHUP:
            return "HUP";
        default:
            return std::to_string(signalNumber);
    }
}

TEST_P(ScriptedFront, StopsFfmpegCleansUpAndDiesOfTheSignalItGot) {
    enum class Target { Front, Group, Ffmpeg };
    struct Case {
        const char* name;
        int signalNumber;
        Target target;
    };
    const std::vector<Case> cases = {
        {"SIGTERM to the front", SIGTERM, Target::Front},
        {"SIGINT to the front", SIGINT, Target::Front},
        {"SIGHUP to the front", SIGHUP, Target::Front},
        {"SIGTERM to the process group", SIGTERM, Target::Group},
        {"SIGINT to the process group", SIGINT, Target::Group},
        {"SIGTERM to ffmpeg alone", SIGTERM, Target::Ffmpeg},
    };
    WriteFile(output, "old");
    // The part being written is to be seen in the folder only under a name.
    const std::size_t filesMeanwhile = GetParam().unnamed ? 2 : 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Process front(Front(), Args(), {.env = {"TUNEMILL_SCENE=" + kHears}, .ownGroup = true});
        ASSERT_TRUE(front.ReadUntil("ready\n", 5s)) << front.err;
        const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 1s);
        ASSERT_GT(ffmpeg, 0);
        ASSERT_EQ(Left().size(), filesMeanwhile);
        switch (c.target) {
            case Target::Front:
                kill(front.Pid(), c.signalNumber);
                break;
            case Target::Group:
                kill(-front.Pid(), c.signalNumber);
                break;
            case Target::Ffmpeg:
                kill(ffmpeg, c.signalNumber);
                break;
        }
        const auto stoppedAt = std::chrono::steady_clock::now();
        EXPECT_EQ(DeathSignal(front.Wait()), c.signalNumber);
        // At once, not when the stand-in's sleep would have ended by itself.
        EXPECT_LT(std::chrono::steady_clock::now() - stoppedAt, 5s);
        // ffmpeg was given the chance to end by itself before anything harder.
        EXPECT_NE(front.err.find("got " + SignalName(c.signalNumber) + "\n"), std::string::npos)
            << front.err;
        EXPECT_FALSE(Running(ffmpeg));
        EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
        EXPECT_EQ(Contents(output), "old");
    }
}

TEST_P(ScriptedFront, AnFfmpegThatIgnoresTheStopIsKilledWellInsideTheShellsGrace) {
    WriteFile(output, "old");
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(SignalName(signalNumber));
        Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + kIgnores}});
        ASSERT_TRUE(front.ReadUntil("ready\n", 5s)) << front.err;
        const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 1s);
        ASSERT_GT(ffmpeg, 0);
        kill(front.Pid(), signalNumber);
        // The application's shell kills the whole chain 3 s after asking it to end, and then
        // no one is left to remove a named part.
        const bool ended = GoneWithin(front.Pid(), 3s);
        EXPECT_TRUE(ended);
        EXPECT_FALSE(Running(ffmpeg));
        if (!ended) {
            kill(ffmpeg, SIGKILL);
        }
        EXPECT_EQ(DeathSignal(front.Wait()), signalNumber);
        EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
        EXPECT_EQ(Contents(output), "old");
    }
}

TEST_P(ScriptedFront, EndsWithItsParentAndTakesFfmpegAlong) {
    // sh stays between the test and the front, as in the application, since the command is
    // not the last one of its line.
    std::vector<std::string> args = {"-c", "\"$0\" \"$@\"; :", Front()};
    for (const auto& arg : Args()) {
        args.push_back(arg);
    }
    // Its parent's death reaches the front as a stop signal, which this ffmpeg ignores.
    Process shell("/bin/sh", args, {{"TUNEMILL_SCENE=" + kIgnores}});
    ASSERT_TRUE(shell.ReadUntil("ready\n", 5s)) << shell.err;
    const pid_t front = OnlyChildWithin(shell.Pid(), 1s);
    ASSERT_GT(front, 0);
    const pid_t ffmpeg = OnlyChildWithin(front, 1s);
    ASSERT_GT(ffmpeg, 0);
    kill(shell.Pid(), SIGKILL);
    EXPECT_TRUE(GoneWithin(front, 5s));
    EXPECT_TRUE(GoneWithin(ffmpeg, 5s));
    shell.Wait();
    EXPECT_EQ(Left(), (std::vector<std::string>{"in put.wav"}));
}

TEST_P(ScriptedFront, KilledOutrightItsFfmpegEndsToo) {
    WriteFile(output, "old");
    // An ffmpeg that ignores the stop signals: only SIGKILL ends it.
    Process front(Front(), Args(), {{"TUNEMILL_SCENE=" + kIgnores}});
    ASSERT_TRUE(front.ReadUntil("ready\n", 5s)) << front.err;
    const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 1s);
    ASSERT_GT(ffmpeg, 0);
    kill(front.Pid(), SIGKILL);
    // Before reading the streams to their end, which a surviving ffmpeg would hold open.
    EXPECT_TRUE(GoneWithin(ffmpeg, 5s));
    EXPECT_EQ(DeathSignal(front.Wait()), SIGKILL);
    EXPECT_EQ(Contents(output), "old");
    std::vector<std::string> left = Left();
    if (!GetParam().unnamed) {
        // What no one is left to remove where the file system has no unnamed files.
        ASSERT_EQ(left.size(), 3u);
        EXPECT_EQ(left[0].front(), '.');
        left.erase(left.begin());
    }
    // The part ffmpeg wrote went with the front.
    EXPECT_EQ(left, (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
}

INSTANTIATE_TEST_SUITE_P(Temporaries, ScriptedFront, ::testing::Values(kUnnamed, kNamed),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
