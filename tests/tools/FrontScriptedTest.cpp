// The front around a scripted stand-in for ffmpeg, for the outcomes that the real one cannot
// be made to give on cue.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tools/FrontProcess.h"

namespace {

using namespace fronttest;
using namespace std::chrono_literals;

// The scene's last argument, the file ffmpeg would write, as $o.
const std::string kOutput = "for o; do :; done; ";

class ScriptedFront : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(input, "RIFF"); }

    std::vector<std::string> Args() const {
        return {"-i", input, "-y", "-ab", "128k", "-f", "mp3", output};
    }
    std::vector<std::string> Left() const { return folder.Names(); }

    TempFolder folder;
    std::string input = folder / "in put.wav";
    std::string output = folder / "in put-128k.mp3";
};

TEST_F(ScriptedFront, PassesTheExitStatusOnAndKeepsOnlyAWholeOutput) {
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
        {"success that wrote nothing", "exit 0", false, 0, ""},
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
        Process front(TUNEMILL_SCRIPTED_FRONT, Args(), {{"TUNEMILL_SCENE=" + c.scene}});
        EXPECT_EQ(ExitCode(front.Wait()), c.exitCode);
        if (c.left != nullptr) {
            EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
            EXPECT_EQ(Contents(output), c.left);
        } else {
            EXPECT_EQ(Left(), (std::vector<std::string>{"in put.wav"}));
        }
    }
}

TEST_F(ScriptedFront, DiesOfTheSignalThatKilledFfmpegAfterRemovingItsPart) {
    WriteFile(output, "old");
    for (int signalNumber : {SIGKILL, SIGUSR1, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        const std::string scene =
            kOutput + "printf half > \"$o\"; kill -" + std::to_string(signalNumber) + " $$";
        Process front(TUNEMILL_SCRIPTED_FRONT, Args(), {{"TUNEMILL_SCENE=" + scene}});
        EXPECT_EQ(DeathSignal(front.Wait()), signalNumber);
        EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
        EXPECT_EQ(Contents(output), "old");
    }
}

TEST_F(ScriptedFront, AFinishedFileThatCannotTakeItsNameIsDiscardedAndSaysWhy) {
    // A folder that appeared at the output's path while ffmpeg worked cannot be replaced.
    const std::string scene = kOutput + "printf new > \"$o\"; mkdir \"$BLOCKER\"";
    Process front(TUNEMILL_SCRIPTED_FRONT, Args(),
                  {{"TUNEMILL_SCENE=" + scene, "BLOCKER=" + output}});
    EXPECT_EQ(ExitCode(front.Wait()), 1);
    EXPECT_EQ(front.err,
              "ffmpeg: cannot save the converted file as '" + output + "': Is a directory\n");
    EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
    EXPECT_TRUE(std::filesystem::is_directory(output));
}

TEST_F(ScriptedFront, HandsOnTheArgumentsWithAHiddenNameBesideTheOutput) {
    const std::string scene =
        "printf '%s\\n' \"$@\"; readlink /proc/self/fd/0 >&2; " + kOutput + "echo \"to '$o'\" >&2";
    Process front(TUNEMILL_SCRIPTED_FRONT, Args(), {{"TUNEMILL_SCENE=" + scene}});
    EXPECT_EQ(ExitCode(front.Wait()), 0);
    std::vector<std::string> seen;
    std::istringstream lines(front.out);
    for (std::string line; std::getline(lines, line);) {
        seen.push_back(line);
    }
    ASSERT_EQ(seen.size(), Args().size());
    const auto args = Args();
    EXPECT_EQ(std::vector<std::string>(seen.begin(), seen.end() - 1),
              std::vector<std::string>(args.begin(), args.end() - 1));
    const std::filesystem::path hidden = seen.back();
    EXPECT_EQ(hidden.parent_path(), folder.Path());
    EXPECT_EQ(hidden.filename().string().size(), 11u) << hidden;
    EXPECT_EQ(hidden.filename().string()[0], '.');
    EXPECT_EQ(hidden.extension(), ".mp3");
    // Standard input is empty, and ffmpeg's messages name the output, not the hidden file.
    EXPECT_EQ(front.err, "/dev/null\nto '" + output + "'\n");
}

TEST_F(ScriptedFront, WritesEachLineWholeAndItsClockInSeconds) {
    const std::string scene =
        "printf 'size= time=00:0' >&2; sleep 0.3; printf '0:01.50 x\\r' >&2; sleep 0.3; "
        "printf 'size= time=01:00:02.00 y\\rDuration: 00:00:03.00\\n' >&2; printf tail >&2";
    Process front(TUNEMILL_SCRIPTED_FRONT, Args(), {{"TUNEMILL_SCENE=" + scene}});
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

TEST_F(ScriptedFront, LeavesRunsWithoutAFileToReplaceAsTheyAre) {
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
        Process front(TUNEMILL_SCRIPTED_FRONT, c.args, {{"TUNEMILL_SCENE=" + scene}});
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

// ffmpeg stand-in that has written part of its file and then waits.
const std::string kStalls = kOutput + "printf half > \"$o\"; echo ready >&2; exec sleep 30";

TEST_F(ScriptedFront, StopsFfmpegCleansUpAndDiesOfTheSignalItGot) {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Process front(TUNEMILL_SCRIPTED_FRONT, Args(),
                      {.env = {"TUNEMILL_SCENE=" + kStalls}, .ownGroup = true});
        ASSERT_TRUE(front.ReadUntil("ready\n", 5s)) << front.err;
        const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 1s);
        ASSERT_GT(ffmpeg, 0);
        ASSERT_EQ(Left().size(), 3u);  // the hidden part is there
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
        EXPECT_FALSE(Running(ffmpeg));
        EXPECT_EQ(Left(), (std::vector<std::string>{"in put-128k.mp3", "in put.wav"}));
        EXPECT_EQ(Contents(output), "old");
    }
}

TEST_F(ScriptedFront, EndsWithItsParentAndTakesFfmpegAlong) {
    // sh stays between the test and the front, as in the application, since the command is
    // not the last one of its line.
    std::vector<std::string> args = {"-c", "\"$0\" \"$@\"; :", TUNEMILL_SCRIPTED_FRONT};
    for (const auto& arg : Args()) {
        args.push_back(arg);
    }
    Process shell("/bin/sh", args, {{"TUNEMILL_SCENE=" + kStalls}});
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

TEST_F(ScriptedFront, KilledOutrightItsFfmpegEndsToo) {
    Process front(TUNEMILL_SCRIPTED_FRONT, Args(), {{"TUNEMILL_SCENE=" + kStalls}});
    ASSERT_TRUE(front.ReadUntil("ready\n", 5s)) << front.err;
    const pid_t ffmpeg = OnlyChildWithin(front.Pid(), 1s);
    ASSERT_GT(ffmpeg, 0);
    kill(front.Pid(), SIGKILL);
    // Before reading the streams to their end, which a surviving ffmpeg would hold open.
    EXPECT_TRUE(GoneWithin(ffmpeg, 5s));
    EXPECT_EQ(DeathSignal(front.Wait()), SIGKILL);
}

}  // namespace
