#include "tools/ffmpeg/OutputTarget.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using ffront::FindOutputArgument;
using ffront::FolderOf;
using ffront::OutputFormatNamed;
using ffront::TemporaryPathFor;

TEST(FindOutputArgument, TakesTheLastArgumentOnlyWhenItNamesAFileToWrite) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        std::optional<std::size_t> output;
    };
    const std::vector<Case> cases = {
        {"the program's own line",
         {"-i", "/m/a.wav", "-y", "-ab", "128k", "-f", "mp3", "/m/a.mp3"},
         7},
        {"no folder", {"-i", "a.wav", "-y", "b.mp3"}, 3},
        {"a flag right before", {"-y", "-i", "a.wav", "-vn", "b.mp3"}, 4},
        {"odd letters", {"-i", "x", "-y", "/m/it's 노래.mp3"}, 3},
        {"version", {"-version"}, std::nullopt},
        {"help topic", {"-h", "full"}, std::nullopt},
        {"help with -y", {"-y", "-h", "full"}, std::nullopt},
        {"input only", {"-y", "-i", "a.wav"}, std::nullopt},
        {"standard output", {"-i", "a.wav", "-y", "-f", "mp3", "-"}, std::nullopt},
        {"pipe", {"-i", "a.wav", "-y", "-f", "mp3", "pipe:1"}, std::nullopt},
        {"file protocol", {"-i", "a.wav", "-y", "file:b.mp3"}, std::nullopt},
        {"network", {"-i", "a.wav", "-y", "-f", "mp3", "udp://host:1"}, std::nullopt},
        {"an option's value", {"-i", "a.wav", "-y", "-f", "mp3"}, std::nullopt},
        {"without -y ffmpeg would not write over our file", {"-i", "a.wav", "b.mp3"}, std::nullopt},
        {"an option last", {"-i", "a.wav", "b.mp3", "-y"}, std::nullopt},
        {"a folder", {"-i", "a.wav", "-y", "/m/"}, std::nullopt},
        {"a dot folder", {"-i", "a.wav", "-y", "/m/.."}, std::nullopt},
        {"empty", {"-i", "a.wav", "-y", ""}, std::nullopt},
        {"empty before", {"-i", "a.wav", "-y", "", "b.mp3"}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindOutputArgument(c.args), c.output);
    }
}

// An output written through a /proc path has no extension to take the format from.
TEST(OutputFormatNamed, SeesOnlyAnOutputsOwnFormat) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool named;
    };
    const std::vector<Case> cases = {
        {"the program's own line",
         {"-i", "/m/a.wav", "-y", "-ab", "128k", "-f", "mp3", "/m/a.mp3"},
         true},
        {"no format", {"-i", "a.wav", "-y", "b.mp3"}, false},
        {"the input's format", {"-f", "wav", "-i", "a.wav", "-y", "b.mp3"}, false},
        {"after the second input",
         {"-i", "a.wav", "-f", "wav", "-i", "b.wav", "-y", "-f", "mp3", "c.mp3"},
         true},
        {"between two inputs", {"-i", "a.wav", "-f", "wav", "-i", "b.wav", "-y", "c.mp3"}, false},
        {"an empty format", {"-i", "a.wav", "-y", "-f", "", "b.mp3"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(OutputFormatNamed(c.args, c.args.size() - 1), c.named);
    }
}

TEST(FolderOf, IsWhatOpenTakesForTheOutputsFolder) {
    EXPECT_EQ(FolderOf("/m/song.mp3"), "/m/");
    EXPECT_EQ(FolderOf("/song.mp3"), "/");
    EXPECT_EQ(FolderOf("song.mp3"), ".");
    EXPECT_EQ(FolderOf("a b/c d.mp3"), "a b/");
}

TEST(TemporaryPathFor, IsHiddenBesideTheOutputAndKeepsItsExtension) {
    struct Case {
        const char* output;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"/m/song-128k.mp3", "/m/.Ab3dE9.mp3"},
        {"song.mp3", ".Ab3dE9.mp3"},
        {"/m/a.b/song", "/m/a.b/.Ab3dE9"},
        {"/m/.hidden", "/m/.Ab3dE9"},
        {"/m/x.averyveryverylongext", "/m/.Ab3dE9"},
        {"/m/x.sixteenchars1", "/m/.Ab3dE9.sixteenchars1"},
        {"/m/my song.WAV.mp3", "/m/.Ab3dE9.mp3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        EXPECT_EQ(TemporaryPathFor(c.output, "Ab3dE9"), c.expected);
    }
}

TEST(TemporaryPathFor, FitsWhereverTheOutputsNameFits) {
    for (std::size_t length = 1; length <= 255; ++length) {
        for (std::size_t dotAt : {std::size_t{0}, length / 2, length - 1}) {
            std::string name(length, 'n');
            name[dotAt] = '.';
            const std::string temporary = TemporaryPathFor("/m/" + name, "Ab3dE9");
            ASSERT_EQ(temporary.rfind("/m/.", 0), 0u) << name;
            // A dot, six letters and at most a 16-byte extension.
            EXPECT_LE(temporary.size() - 3, 23u) << name;
        }
    }
}

}  // namespace
