#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/RegEx.h"

namespace {

std::string Found(const std::shared_ptr<fw::RegExMatch>& match) {
    return match ? match->SubExpressionString(0) : "<none>";
}

TEST(RegExTest, SearchIgnoresLetterCase) {
    struct Case {
        std::string pattern, text, match;
    };
    const std::vector<Case> cases = {
        {"duration: \\d\\d:\\d\\d:\\d\\d", "  Duration: 00:03:25.04, start: 0.000",
         "Duration: 00:03:25"},
        {"time=[\\d]+", "size=     123kB TIME=12.34 bitrate", "TIME=12"},
        {"\\.WAV", "song.wav", ".wav"},
        {"abc", "xABCx", "ABC"},
        {"이름", "파일 이름.wav", "이름"},
        {"élan", "Un ÉLAN.wav", "ÉLAN"},
        {".[\\w]+$", "Track.MP3", ".MP3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern + " in " + c.text);
        fw::RegEx re;
        re.SearchPattern = c.pattern;
        EXPECT_EQ(Found(re.Search(c.text)), c.match);
    }
}

TEST(RegExTest, ExtensionPatternOnFileNames) {
    struct Case {
        std::string name, match;
    };
    const std::vector<Case> cases = {
        {"song.WAV", ".WAV"}, {"song.backup.mp3", ".mp3"},
        {"README", "README"}, {"name.", "<none>"},
        {"track-01", "-01"},  {"파일 이름.ogg", ".ogg"},
        {"😀 a.m4a", ".m4a"},  {"", "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fw::RegEx re;
        re.SearchPattern = ".[\\w]+$";
        EXPECT_EQ(Found(re.Search(c.name)), c.match);
    }
}

TEST(RegExTest, SearchWithoutTextGoesOnAfterThePreviousMatch) {
    fw::RegEx re;
    re.SearchPattern = "\\d\\d";
    EXPECT_EQ(Found(re.Search("Duration: 01:02:03")), "01");
    EXPECT_EQ(Found(re.Search()), "02");
    EXPECT_EQ(Found(re.Search()), "03");
    EXPECT_EQ(re.Search(), nullptr);
    // Past the end it stays past the end.
    EXPECT_EQ(re.Search(), nullptr);
    // A new text starts again from its beginning.
    EXPECT_EQ(Found(re.Search("44 55")), "44");
    EXPECT_EQ(Found(re.Search()), "55");
}

TEST(RegExTest, ContinuedSearchCountsCharactersNotBytes) {
    fw::RegEx re;
    re.SearchPattern = "가나";
    EXPECT_EQ(Found(re.Search("😀가나 가나😀가나")), "가나");
    EXPECT_EQ(Found(re.Search()), "가나");
    EXPECT_EQ(Found(re.Search()), "가나");
    EXPECT_EQ(re.Search(), nullptr);
}

TEST(RegExTest, EmptyMatchesStillMoveOn) {
    fw::RegEx re;
    re.SearchPattern = "x*";
    std::vector<std::string> found;
    auto match = re.Search("ab");
    for (int guard = 0; match && guard < 10; ++guard) {
        found.push_back(match->SubExpressionString(0));
        match = re.Search();
    }
    EXPECT_EQ(found, (std::vector<std::string>{"", "", ""}));
}

TEST(RegExTest, NoMatchOrNoValidPatternGivesNull) {
    struct Case {
        const char* name;
        std::string pattern, text;
    };
    const std::vector<Case> cases = {
        {"no match", "time=[\\d]+", "Duration: 00:00:10"},
        {"unbalanced parenthesis", "time=(\\d+", "time=12"},
        {"unbalanced bracket", "[abc", "abc"},
        {"nothing to repeat", "*a", "aaa"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fw::RegEx re;
        re.SearchPattern = c.pattern;
        EXPECT_EQ(re.Search(c.text), nullptr);
        EXPECT_EQ(re.Search(), nullptr);
    }
    fw::RegEx fresh;
    // Built, not assigned from a literal: at -O3 GCC 12 warns falsely on that (-Wrestrict).
    fresh.SearchPattern = std::string(1, 'a');
    EXPECT_EQ(fresh.Search(), nullptr);
}

TEST(RegExTest, OnlyTheWholeMatchIsKept) {
    fw::RegEx re;
    re.SearchPattern = "(\\d+):(\\d+)";
    const auto match = re.Search("at 12:34");
    ASSERT_NE(match, nullptr);
    EXPECT_EQ(match->SubExpressionString(0), "12:34");
    EXPECT_EQ(match->SubExpressionString(1), "");
}

// Searchers with different patterns, used in turns, and a pattern changed between searches: each
// search uses the pattern its searcher has at that moment, however patterns are kept compiled.
TEST(RegExTest, EachSearchUsesItsSearchersPatternOfTheMoment) {
    fw::RegEx extension;
    extension.SearchPattern = ".[\\w]+$";
    fw::RegEx digits;
    digits.SearchPattern = "[0-9]+";
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(Found(extension.Search("track 07.Wav")), ".Wav");
        EXPECT_EQ(Found(digits.Search("track 07.Wav")), "07");
    }
    extension.SearchPattern = "tr[a-z]+";
    EXPECT_EQ(Found(extension.Search("TRACK 07.Wav")), "TRACK");
    extension.SearchPattern = "[(";
    EXPECT_EQ(Found(extension.Search("track 07.Wav")), "<none>");
    EXPECT_EQ(Found(digits.Search("track 07.Wav")), "07");
}

}  // namespace
