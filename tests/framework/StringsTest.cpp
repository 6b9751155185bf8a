#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "framework/Strings.h"

namespace {

TEST(StrTest, WritesDecimalWithSignAtBothLimits) {
    struct Case {
        fw::Int32 value;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, "0"},
        {7, "7"},
        {-42, "-42"},
        {std::numeric_limits<fw::Int32>::max(), "2147483647"},
        {std::numeric_limits<fw::Int32>::min(), "-2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fw::Str(c.value), c.text);
    }
}

TEST(ValTest, ReadsOnlyTheLeadingDecimalNumber) {
    struct Case {
        std::string text;
        double value;
    };
    const std::vector<Case> cases = {
        {"08", 8},
        {"50.12", 50.12},
        {"abc", 0},
        {"", 0},
        {" 7x", 7},
        {"\t9", 9},
        {"   -3.5kg", -3.5},
        {"+4", 4},
        {".5", 0.5},
        {"12:34:56", 12},
        {"1,000", 1},
        {"1e3", 1000},
        {"2e", 2},
        {"2e+", 2},
        {"-", 0},
        {"- 5", 0},
        {"x5", 0},
        // A general number reader would take these as hexadecimal, infinity or NaN.
        {"0x1A", 0},
        {"inf", 0},
        {"nan", 0},
        {"99999999999", 99999999999.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_DOUBLE_EQ(fw::Val(c.text), c.value);
    }
}

TEST(MidTest, CountsCharactersFromOne) {
    struct Case {
        std::string text;
        fw::Int32 start;
        fw::Int32 length;  // -1: to the end, through the two-argument form
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"hello", 1, -1, "hello"},
        {"hello", 2, -1, "ello"},
        {"hello", 2, 3, "ell"},
        {"hello", 5, -1, "o"},
        {"hello", 4, 100, "lo"},
        {"hello", 1, 0, ""},
        {"hello", 6, -1, ""},
        {"hello", 10, 2, ""},
        {"hello", 0, -1, "hello"},
        {"hello", -3, 2, "he"},
        {"", 1, -1, ""},
        // Each Korean syllable is three bytes of UTF-8 but one character.
        {"파일 이름", 4, -1, "이름"},
        {"파일 이름", 1, 2, "파일"},
        {"파일 이름", 3, 1, " "},
        // An emoji lies outside the basic plane: one character, two UTF-16 units, four bytes.
        {"a😀b", 2, 1, "😀"},
        {"a😀b", 3, -1, "b"},
        {"😀😀x", 3, 1, "x"},
        {"strângë", 4, 2, "ân"},
        {"strângë", 6, -1, "gë"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Mid(\"" + c.text + "\", " + std::to_string(c.start) + ", " +
                     std::to_string(c.length) + ")");
        const std::string got =
            c.length < 0 ? fw::Mid(c.text, c.start) : fw::Mid(c.text, c.start, c.length);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(LowercaseTest, LowersEveryScript) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Song.WAV", "song.wav"},   {"ÀÉÎÕÜ", "àéîõü"}, {"ФЗ Strângë", "фз strângë"},
        {"파일 이름", "파일 이름"}, {"😀 MP3", "😀 mp3"}, {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fw::Lowercase(c.text), c.expected);
    }
}

TEST(ReplaceTest, ReplacesOnlyTheFirstOccurrenceIgnoringCase) {
    struct Case {
        std::string text, find, with, expected;
    };
    const std::vector<Case> cases = {
        {"song.WAV", ".wav", ".mp3", "song.mp3"},
        {"a.wav.wav", ".wav", ".mp3", "a.mp3.wav"},
        {"A.Wav.wav", ".WAV", ".mp3", "A.mp3.wav"},
        {"song.ogg", ".wav", ".mp3", "song.ogg"},
        {"", ".wav", ".mp3", ""},
        {"song.wav", "", "x", "song.wav"},
        // The text around the match keeps its own case.
        {"MySong.Mp3", ".mp3", "-128k.mp3", "MySong-128k.mp3"},
        // The replacement is not searched again.
        {"aa", "a", "aa", "aaa"},
        {"파일.WMA", ".wma", ".mp3", "파일.mp3"},
        {"ÀB ab", "àb", "x", "x ab"},
        {"😀.OGG😀.ogg", ".ogg", ".mp3", "😀.mp3😀.ogg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("Replace(\"" + c.text + "\", \"" + c.find + "\", \"" + c.with + "\")");
        EXPECT_EQ(fw::Replace(c.text, c.find, c.with), c.expected);
    }
}

TEST(ReplaceAllTest, ReplacesEveryOccurrenceOfTheExactCase) {
    struct Case {
        std::string text, find, with, expected;
    };
    const std::vector<Case> cases = {
        {"/a b/c d.wav", " ", "\\ ", "/a\\ b/c\\ d.wav"},
        {"A a A", "a", "x", "A x A"},
        {"aaa", "aa", "b", "ba"},
        {"abc", "x", "y", "abc"},
        {"abc", "", "y", "abc"},
        {"", "a", "b", ""},
        // The replacement contains what is searched: each original occurrence is replaced once.
        {"aa", "a", "aa", "aaaa"},
        {"x\\ y", "\\ ", " ", "x y"},
        {"가 나 다", " ", "_", "가_나_다"},
        {"😀😀", "😀", "e", "ee"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("ReplaceAll(\"" + c.text + "\", \"" + c.find + "\", \"" + c.with + "\")");
        EXPECT_EQ(fw::ReplaceAll(c.text, c.find, c.with), c.expected);
    }
}

TEST(EqualsIgnoringCaseTest, ComparesWholeTextsWithoutRegardToCase) {
    struct Case {
        std::string a, b;
        bool equal;
    };
    const std::vector<Case> cases = {
        {"Audio", "audio", true}, {"AUDIO", "audio", true},   {"Audio", "Audio", true},
        {"Audio", "Audi", false}, {"Audio", "Audio ", false}, {"ÉTÉ", "été", true},
        {"Фото", "фОТО", true},   {"파일", "파일", true},     {"파일", "파이", false},
        {"", "", true},           {"a", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.a + "\" vs \"" + c.b + "\"");
        EXPECT_EQ(fw::EqualsIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(fw::EqualsIgnoringCase(c.b, c.a), c.equal);
    }
}

}  // namespace

namespace {

TEST(StringsTest, SplitKeepsEmptyPieces) {
    struct Case {
        const char* text;
        char separator;
        std::vector<std::string> pieces;
    };
    const std::vector<Case> cases = {
        {"27%,8%,15%", ',', {"27%", "8%", "15%"}},
        {"a,,b", ',', {"a", "", "b"}},
        {",", ',', {"", ""}},
        {"", ',', {""}},
        {"파일 이름\t확장자", '\t', {"파일 이름", "확장자"}},
        {".wav;", ';', {".wav", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fw::Split(c.text, c.separator), c.pieces);
    }
}

// Texts that agree over their first bytes, eight or more of them, and differ in letter case or in
// a letter just before, at or after each eighth byte: the order must be that of their lower-case
// forms, however far the bytes agree.
TEST(CompareAsciiLowercaseTest, OrdersAsTheLowerCaseFormsDo) {
    const std::vector<std::string> texts = {
        "",
        "a",
        "A",
        "abcdefg",
        "abcdefgh",
        "ABCDEFGH",
        "abcdefghi",
        "abcdefgHi",
        "abcdefgHI",
        "abcdefgz",
        "abcdefg_",
        "Abcdefghij",
        "abcdefghijklmnop",
        "abcdefghijklmnoP",
        "abcdefghijklmnopq",
        "abcdefghijklmnoQ",
        "abcdefghijklmnoz",
        "ABCDEFGHIJKLMNO[",
        "abcdefghijklmno@",
        "track 000123 - Some Artist",
        "TRACK 000123 - some artist",
        "track 000123 - some artisT!",
    };
    auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            SCOPED_TRACE("\"" + a + "\" and \"" + b + "\"");
            EXPECT_EQ(fw::CompareAsciiLowercase(a, b),
                      sign(fw::AsciiLowercase(a).compare(fw::AsciiLowercase(b))));
            const std::size_t common = fw::CommonPrefixLength(a, b);
            EXPECT_EQ(a.substr(0, common), b.substr(0, common));
            EXPECT_TRUE(common == a.size() || common == b.size() || a[common] != b[common]);
        }
    }
}

}  // namespace
