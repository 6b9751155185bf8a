#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion/CommandLine.h"
#include "conversion/FfmpegOutput.h"
#include "conversion/OutputPath.h"

namespace {

TEST(OutputPath, ReplacesTheFirstOfEachExtensionInTheFileName) {
    struct Case {
        const char* input;
        fw::Int32 bitrate;
        const char* output;
    };
    const std::vector<Case> cases = {
        {"/m/song.wav", 96, "/m/song-96k.mp3"},
        {"/m/song.wav", 128, "/m/song-128k.mp3"},
        {"/m/song.wav", 192, "/m/song-192k.mp3"},
        {"/m/song.ogg", 128, "/m/song-128k.mp3"},
        {"/m/song.mp3", 128, "/m/song-128k.mp3"},
        {"/m/song.wma", 128, "/m/song-128k.mp3"},
        {"/m/song.aac", 128, "/m/song-128k.mp3"},
        {"/m/song.m4a", 128, "/m/song-128k.mp3"},
        // Letter case is ignored when searching; the replacement is written as given.
        {"/m/SONG.WAV", 128, "/m/SONG-128k.mp3"},
        {"/m/Song.Mp3", 192, "/m/Song-192k.mp3"},
        // Each step works on what the one before left.
        {"/m/a.wav.ogg", 128, "/m/a-128k.mp3.mp3"},
        // Only the first of each.
        {"/m/a.wav.wav", 128, "/m/a-128k.mp3.wav"},
        // Regression: the folders were searched too, so an output went into another folder
        // ("Best-128k.mp3s/track.mp3") or onto another file ("old-128k.mp3 files/song.wav").
        {"Best.MP3s/track.wav", 128, "Best.MP3s/track-128k.mp3"},
        {"old.wav files/song.wav", 128, "old.wav files/song-128k.mp3"},
        {"/m/x.wav/song.ogg", 128, "/m/x.wav/song-128k.mp3"},
        {"/a.ogg/b.wma/c.m4a", 192, "/a.ogg/b.wma/c-192k.mp3"},
        // A folder's extension does not stand in for a missing one in the name.
        {"/m/x.mp3/notes", 128, "/m/x.mp3/notes-128k.mp3"},
        {"//root.wav", 128, "//root-128k.mp3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OutputPath(c.input, c.bitrate), c.output) << c.input << " at " << c.bitrate;
    }
}

// Regression: with none of the six texts the rule gave back the source's own path, and ffmpeg
// -y overwrote the source.
TEST(OutputPath, NeverTheInputPath) {
    for (const char* input : {"/m/song", "/m/song.flac", "/m/wav", "/m/notes.txt"}) {
        const auto output = OutputPath(input, 128);
        EXPECT_NE(output, input);
        EXPECT_EQ(output, std::string(input) + "-128k.mp3");
    }
}

// Regression: a listed c-128k.mp3 was overwritten by the conversion of c.wav beside it.
TEST(OutputPath, NeverAListedFile) {
    using Listed = std::vector<std::pair<std::string, std::string>>;  // folder, name
    struct Case {
        const char* name;
        const char* input;
        Listed listed;
        std::optional<std::string> output;
    };
    const std::vector<Case> cases = {
        {"listed: the other name", "/m/c.wav", {{"/m", "c-128k.mp3"}}, "/m/c.wav-128k.mp3"},
        {"same name in another folder", "/m/c.wav", {{"/n", "c-128k.mp3"}}, "/m/c-128k.mp3"},
        {"a folder that ends like it", "/m/c.wav", {{"/xm", "c-128k.mp3"}}, "/m/c-128k.mp3"},
        {"names differ in case", "/m/c.wav", {{"/m", "C-128k.mp3"}}, "/m/c-128k.mp3"},
        {"only the other name listed", "/m/c.wav", {{"/m", "c.wav-128k.mp3"}}, "/m/c-128k.mp3"},
        {"both names listed", "/m/c.wav", {{"/m", "c-128k.mp3"}, {"/m", "c.wav-128k.mp3"}}, {}},
        {"no extension, other name listed", "/m/song", {{"/m", "song-128k.mp3"}}, {}},
        {"a file in the root folder", "//c.wav", {{"/", "c-128k.mp3"}}, "//c.wav-128k.mp3"},
        {"folder with spaces and an extension",
         "/m/old.wav files/c.ogg",
         {{"/m/old.wav files", "c-128k.mp3"}},
         "/m/old.wav files/c.ogg-128k.mp3"},
    };
    for (const auto& c : cases) {
        const auto output =
            OutputPath(c.input, 128, [&](std::string_view folder, std::string_view name) {
                for (const auto& [f, n] : c.listed) {
                    if (f == folder && n == name) {
                        return true;
                    }
                }
                return false;
            });
        EXPECT_EQ(output, c.output) << c.name;
    }
}

// Runs a command line through the real /bin/sh, with a stub in place of ffmpeg that writes
// each argument it was given on a line of its own.
std::vector<std::string> ArgumentsReceived(const QString& resources, const std::string& input,
                                           fw::Int32 bitrate, const std::string& output,
                                           const QString& log) {
    QProcess sh;
    sh.start("/bin/sh", {"-c", QString::fromStdString(FfmpegCommandLine(resources.toStdString(),
                                                                        input, bitrate, output))});
    EXPECT_TRUE(sh.waitForFinished(10000));
    EXPECT_EQ(sh.exitCode(), 0) << sh.readAll().toStdString();
    QFile f(log);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    std::vector<std::string> args;
    for (const QByteArray& a : f.readAll().split('\0')) {
        if (!a.isEmpty()) {
            args.push_back(a.toStdString());
        }
    }
    return args;
}

TEST(CommandLine, TheNinePiecesForAPlainPath) {
    EXPECT_EQ(FfmpegCommandLine("/Applications/Example.app/Contents/Resources", "/Music/song.wav",
                                128, "/Music/song-128k.mp3"),
              "'/Applications/Example.app/Contents/Resources/ffmpeg' -i '/Music/song.wav' -y -ab "
              "128k -f mp3 '/Music/song-128k.mp3'");
}

TEST(CommandLine, EveryPathReachesTheProgramAsOneUnchangedArgument) {
    struct Case {
        const char* folder;  // the Resources folder's name, inside a temporary folder
        const char* input;
        const char* output;
    };
    const std::vector<Case> cases = {
        {"Resources", "/m/song.wav", "/m/song-128k.mp3"},
        {"My Apps/Resources", "/m/two  spaces.wav", "/m/two  spaces-128k.mp3"},
        {"it's here/Resources", "/m/don't stop.wav", "/m/don't stop-128k.mp3"},
        {"''/Resources", "/m/'quoted'.wav", "/m/'quoted'-128k.mp3"},
        {"a\\ b/Resources", "/m/back\\slash.wav", "/m/back\\slash-128k.mp3"},
        {"$(x)/Resources", "/m/$(touch marker).wav", "/m/`touch marker`;.mp3"},
        {"노래/Resources", "/m/-leading dash\t노래 🎵.wav", "/m/\"double\".mp3"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString resources = dir.filePath(c.folder);
        ASSERT_TRUE(QDir().mkpath(resources)) << c.folder;
        const QString log = dir.filePath("args");
        QFile stub(resources + "/ffmpeg");
        ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + log.toUtf8() +
                   "'\n");
        stub.close();
        stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        const auto args = ArgumentsReceived(resources, c.input, 192, c.output, log);
        const std::vector<std::string> expected = {"-i",   c.input, "-y",  "-ab",
                                                   "192k", "-f",    "mp3", c.output};
        EXPECT_EQ(args, expected) << c.folder;
        EXPECT_FALSE(QFile::exists(dir.filePath("marker"))) << "a name was executed";
        EXPECT_FALSE(QFile::exists("marker")) << "a name was executed";
    }
}

TEST(FfmpegOutput, DurationAndFirstProgressValue) {
    struct Case {
        const char* name;
        const char* text;
        fw::Int32 known;
        fw::Int32 duration;
        std::optional<fw::Int32> seconds;
    };
    const std::vector<Case> cases = {
        {"capital D, hundredths dropped", "  Duration: 00:03:25.67, start: 0", 0, 205, {}},
        {"hours count", "Duration: 01:02:03.00", 0, 3723, {}},
        {"digits with a leading zero", "duration: 00:08:09", 0, 489, {}},
        {"a known length is kept", "Duration: 00:00:10.00", 205, 205, {}},
        {"searched again after an end", "Duration: 00:00:10.00", -1, 10, {}},
        {"one chunk holds both", "Duration: 00:03:20.00\nsize= 1kB time=50.12 bitrate", 0, 200, 50},
        {"only the first time value", "time=10.00 x time=12.00", 200, 200, 10},
        {"hours:minutes:seconds yields the hours", "time=00:01:23.45", 200, 200, 0},
        {"a letter after time= is no value", "time=N/A speed", 200, 200, {}},
        {"the first one with digits counts", "time=N/A time=7.5", 200, 200, 7},
        {"upper case TIME=", "TIME=42", 200, 200, 42},
        {"a value before any duration", "time=5.00", 0, 0, 5},
        {"an empty chunk", "", 0, 0, {}},
        {"a duration split over chunks is not found", "Duration: 00:0", 0, 0, {}},
        {"one-digit groups are no duration", "Duration: 0:03:25", 0, 0, {}},
    };
    for (const auto& c : cases) {
        const FfmpegOutput out = ReadFfmpegOutput(c.text, c.known);
        EXPECT_EQ(out.duration, c.duration) << c.name;
        EXPECT_EQ(out.seconds, c.seconds) << c.name;
    }
}

TEST(FfmpegOutput, Percentage) {
    struct Case {
        fw::Int32 seconds;
        fw::Int32 duration;
        std::optional<fw::Int32> percentage;
    };
    const std::vector<Case> cases = {
        {50, 200, 25},
        {101, 100, 101},  // unclamped: the cell draws what lies past its maximum
        {0, 200, 0},
        // Divided first, so 29 of 100 lies just below 29 and is truncated.
        {29, 100, 28},
        {200, 200, 100},
        {5, 0, std::nullopt},  // before the length is known
        {5, -1, std::nullopt},
        {2147483647, 1, 2147483647},  // saturates rather than overflowing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgressPercentage(c.seconds, c.duration), c.percentage)
            << c.seconds << " of " << c.duration;
    }
}

}  // namespace
