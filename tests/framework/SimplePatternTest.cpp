#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "framework/RegEx.h"
#include "framework/SimplePattern.h"

namespace {

struct Found {
    bool match = false;
    std::size_t start = 0;
    std::size_t end = 0;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return f.match ? out << "[" << f.start << ", " << f.end << ")" : out << "no match";
}

// What the general engine finds, set up as the program's searches are.
Found General(const std::string& pattern, const std::string& subject, std::size_t from) {
    const QRegularExpression re(QString::fromStdString(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(QString::fromStdString(subject), static_cast<qsizetype>(from));
    if (!m.hasMatch()) {
        return {};
    }
    return {true, static_cast<std::size_t>(m.capturedStart()),
            static_cast<std::size_t>(m.capturedEnd())};
}

TEST(SimplePatternTest, FindsWhatTheGeneralEngineFinds) {
    // Pieces of patterns, the plain kind's and others'; the others must be left alone.
    const std::vector<std::string> atoms = {
        ".",           "a",      "B",      "z",    "0",     "-",       "_",       " ",
        "\\w",         "\\W",    "\\d",    "\\D",  "\\s",   "\\S",     "\\.",     "\\-",
        "[a-c]",       "[^\\w]", "[\\d_]", "[x-]", "[-x]",  "[\\w-z]", "[a-c-e]", "[\\!-z]",
        "[\\--9]",     "[^a]",   "[A-z]",  "[.]",  "[\\]]", "(",       "a|b",     "\\b",
        "[[:alpha:]]", "x{2}",   "[z-a]",  "\\",   "[ab",   "]"};
    const std::vector<std::string> repeats = {"", "", "", "?", "*", "+", "+?", "*+", "??"};
    const std::string letters = "aAbBcCxXzZ09_-. \t";
    std::mt19937 rng(20261210);
    auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    int decided = 0;
    int plain = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string pattern = pick(4) == 0 ? "^" : "";
        for (std::size_t k = pick(5); k > 0; --k) {
            pattern += atoms[pick(atoms.size())] + repeats[pick(repeats.size())];
        }
        if (pick(2) == 0) {
            pattern += "$";
        }
        const auto simple = fw::SimplePattern::Parse(pattern);
        const QRegularExpression re(QString::fromStdString(pattern));
        if (!simple) {
            continue;
        }
        ++plain;
        // Whatever the plain kind takes, the general engine takes too.
        ASSERT_TRUE(re.isValid()) << pattern;
        for (int s = 0; s < 6; ++s) {
            std::string subject;
            for (std::size_t k = pick(14); k > 0; --k) {
                subject += letters[pick(letters.size())];
            }
            ASSERT_TRUE(fw::SimplePattern::Handles(subject));
            for (std::size_t from = 0; from <= subject.size() + 1; from += 1 + pick(3)) {
                fw::SimplePattern::Match m;
                const auto outcome = simple->Search(subject, from, m);
                ASSERT_NE(outcome, fw::SimplePattern::Outcome::kUndecided) << pattern;
                const Found mine = outcome == fw::SimplePattern::Outcome::kMatch
                                       ? Found{true, m.start, m.end}
                                       : Found{};
                ASSERT_EQ(mine, General(pattern, subject, from))
                    << "/" << pattern << "/ in \"" << subject << "\" from " << from;
                ++decided;
            }
        }
    }
    // The table above gives both kinds in fair numbers.
    EXPECT_GT(plain, 1000);
    EXPECT_GT(decided, 20000);
}

TEST(SimplePatternTest, LeavesOtherPatternsAndSubjectsToTheGeneralEngine) {
    for (const char* pattern : {"(a)", "a|b", "a{2}", "a+?", "a*+", "\\bword", "\\1", "[[:digit:]]",
                                "[\\!-z]", "é", "[é]", "a$b", "[\\w-z]", "\\t", "[ab", "\\"}) {
        EXPECT_FALSE(fw::SimplePattern::Parse(pattern).has_value()) << pattern;
    }
    for (const char* pattern : {"", "^", "$", ".[\\w]+$", "time=[\\d]+", "\\.WAV", "[^-a-c]x?"}) {
        EXPECT_TRUE(fw::SimplePattern::Parse(pattern).has_value()) << pattern;
    }
    // Letters beyond ASCII and line breaks, where the general engine's rules for \w, '.', '$'
    // and letter case reach further.
    for (const char* subject : {"é.wav", "a\nb", "a\r", "tab\tok"}) {
        EXPECT_EQ(fw::SimplePattern::Handles(subject), std::string(subject) == "tab\tok")
            << subject;
    }
}

TEST(SimplePatternTest, ASearchThatWouldTakeLongStopsUndecided) {
    const auto simple = fw::SimplePattern::Parse(".*.*.*.*.*.*x");
    ASSERT_TRUE(simple.has_value());
    const std::string subject(3000, 'a');
    fw::SimplePattern::Match m;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(simple->Search(subject, 0, m), fw::SimplePattern::Outcome::kUndecided);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    // The searcher then asks the general engine, and gives its answer.
    fw::RegEx re;
    re.SearchPattern = ".*.*.*.*.*.*x";
    EXPECT_EQ(re.Search(subject), nullptr);
    EXPECT_EQ(re.Search(subject + "x")->SubExpressionString(0), subject + "x");
}

// A file name's extension, read back from its end in one step per character of the match: a
// name with long words before it costs no more than a short one.
TEST(SimplePatternTest, AnEndAnchoredSearchReadsOnlyTheEnding) {
    const auto simple = fw::SimplePattern::Parse(".[\\w]+$");
    ASSERT_TRUE(simple.has_value());
    const std::string name = std::string(200'000, 'w') + " track.mp3";
    fw::SimplePattern::Match m;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(simple->Search(name, 0, m), fw::SimplePattern::Outcome::kMatch);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(name.substr(m.start, m.end - m.start), ".mp3");
}

}  // namespace
