#include "framework/SimplePattern.h"

#include <bit>
#include <limits>

namespace fw {

namespace {

constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();
// Enough for any plain search of a name or a line many times over; past it, the general engine
// decides, with its own limits.
constexpr long kBudget = 200'000;
constexpr std::size_t kMostItems = 32;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
// Signs that an escape turns into themselves.
bool IsEscapableSign(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F && !IsAsciiLetter(c) && !IsAsciiDigit(c);
}

struct Set {
    std::uint64_t bits[2] = {0, 0};

    void Add(unsigned char c) { bits[c / 64] |= std::uint64_t{1} << (c % 64); }
    void AddRange(unsigned char from, unsigned char to) {
        for (unsigned c = from; c <= to; ++c) {
            Add(static_cast<unsigned char>(c));
        }
    }
    bool Has(unsigned char c) const { return ((bits[c / 64] >> (c % 64)) & 1) != 0; }
    void AddSet(const Set& other) {
        bits[0] |= other.bits[0];
        bits[1] |= other.bits[1];
    }
    Set Complement() const {
        Set out;
        out.bits[0] = ~bits[0];
        out.bits[1] = ~bits[1];
        return out;
    }
    // Letter case ignored: each letter brings its other case.
    void FoldCase() {
        for (unsigned char c = 'a'; c <= 'z'; ++c) {
            const auto upper = static_cast<unsigned char>(c - 'a' + 'A');
            if (Has(c) || Has(upper)) {
                Add(c);
                Add(upper);
            }
        }
    }
};

// \w \d \s and their capitals, as the general engine reads them without Unicode properties.
std::optional<Set> ClassEscape(char c) {
    Set set;
    switch (c) {
        case 'w':
        case 'W':
            set.AddRange('a', 'z');
            set.AddRange('A', 'Z');
            set.AddRange('0', '9');
            set.Add('_');
            break;
        case 'd':
        case 'D':
            set.AddRange('0', '9');
            break;
        case 's':
        case 'S':
            set.Add(' ');
            set.AddRange('\t', '\r');
            break;
        default:
            return std::nullopt;
    }
    return c >= 'a' ? set : set.Complement();
}

// What an escaped character stands for: a class or the sign itself; null for any other escape
// (\b, \1, \n, ...), which is the general engine's.
std::optional<Set> Escaped(char c) {
    if (const auto escape = ClassEscape(c)) {
        return escape;
    }
    if (!IsEscapableSign(c)) {
        return std::nullopt;
    }
    Set set;
    set.Add(static_cast<unsigned char>(c));
    return set;
}

// A bracketed class from just after its '['; `at` is left after its ']'.
std::optional<Set> ParseClass(std::string_view pattern, std::size_t& at) {
    Set set;
    bool negated = false;
    if (at < pattern.size() && pattern[at] == '^') {
        negated = true;
        ++at;
    }
    bool first = true;
    while (true) {
        if (at >= pattern.size()) {
            return std::nullopt;  // never closed
        }
        const char c = pattern[at];
        if (c == ']' && !first) {
            ++at;
            break;
        }
        first = false;
        if (c == ']' || c == '[' || static_cast<unsigned char>(c) >= 0x80) {
            return std::nullopt;
        }
        if (c == '\\') {
            const auto escaped = at + 1 < pattern.size() ? Escaped(pattern[at + 1]) : std::nullopt;
            // Before a dash, "[\w-z]" is an error to the general engine and "[\!-z]" a range:
            // both are left to it.
            if (!escaped ||
                (at + 3 < pattern.size() && pattern[at + 2] == '-' && pattern[at + 3] != ']')) {
                return std::nullopt;
            }
            set.AddSet(*escaped);
            at += 2;
            continue;
        }
        // A range, unless the '-' is the last member.
        if (at + 2 < pattern.size() && pattern[at + 1] == '-' && pattern[at + 2] != ']') {
            const char to = pattern[at + 2];
            if (to == '\\' || to == '[' || static_cast<unsigned char>(to) >= 0x80 || to < c) {
                return std::nullopt;
            }
            set.AddRange(static_cast<unsigned char>(c), static_cast<unsigned char>(to));
            at += 3;
            continue;
        }
        set.Add(static_cast<unsigned char>(c));
        ++at;
    }
    set.FoldCase();
    return negated ? set.Complement() : set;
}

}  // namespace

std::optional<SimplePattern> SimplePattern::Parse(std::string_view pattern) {
    SimplePattern out;
    std::size_t at = 0;
    if (at < pattern.size() && pattern[at] == '^') {
        out.fromStart_ = true;
        ++at;
    }
    while (at < pattern.size()) {
        const char c = pattern[at];
        if (c == '$' && at + 1 == pattern.size()) {
            out.toEnd_ = true;
            break;
        }
        Set set;
        if (c == '.') {
            set = Set().Complement();
            ++at;
        } else if (c == '[') {
            ++at;
            const auto parsed = ParseClass(pattern, at);
            if (!parsed) {
                return std::nullopt;
            }
            set = *parsed;
        } else if (c == '\\') {
            const auto escaped = at + 1 < pattern.size() ? Escaped(pattern[at + 1]) : std::nullopt;
            if (!escaped) {
                return std::nullopt;
            }
            set = *escaped;
            at += 2;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            static constexpr std::string_view kSpecial = "^$.|?*+()[]{}\\";
            if (byte >= 0x80 || byte < 0x20 || kSpecial.find(c) != std::string_view::npos) {
                return std::nullopt;
            }
            set.Add(byte);
            set.FoldCase();
            ++at;
        }
        Item item;
        item.set[0] = set.bits[0];
        item.set[1] = set.bits[1];
        if (at < pattern.size() &&
            (pattern[at] == '?' || pattern[at] == '*' || pattern[at] == '+')) {
            item.least = pattern[at] == '+' ? 1 : 0;
            item.most = pattern[at] == '?' ? 1 : kUnbounded;
            ++at;
            // Lazy and possessive repeats and counted ones are the general engine's.
            if (at < pattern.size() && (pattern[at] == '?' || pattern[at] == '+')) {
                return std::nullopt;
            }
        }
        if (at < pattern.size() && pattern[at] == '{') {
            return std::nullopt;
        }
        out.items_.push_back(item);
        if (out.items_.size() > kMostItems) {
            return std::nullopt;
        }
        for (unsigned byte = 0; byte < 128; ++byte) {
            if (set.Has(static_cast<unsigned char>(byte))) {
                out.takers_[byte] |= std::uint64_t{1} << (out.items_.size() - 1);
            }
        }
    }
    // A run followed by the end, or by a character it never takes, gains nothing by giving
    // characters back: ".[\\w]+$" is then one pass per start, not one per start and length.
    for (std::size_t k = 0; k < out.items_.size(); ++k) {
        Item& item = out.items_[k];
        if (k + 1 == out.items_.size()) {
            // Nothing after it needs a character back; a pattern with $ is read from the end.
            item.possessive = true;
        } else {
            const Item& next = out.items_[k + 1];
            item.possessive = next.least >= 1 && (item.set[0] & next.set[0]) == 0 &&
                              (item.set[1] & next.set[1]) == 0;
        }
    }
    const std::size_t count = out.items_.size();
    out.before_.assign(count + 1, 0);
    bool emptyBefore = true;  // items 0 to k - 1 all take nothing at will
    for (std::size_t k = 0; k <= count; ++k) {
        if (emptyBefore) {
            out.accepting_ |= std::uint64_t{1} << k;
        }
        if (k < count) {
            emptyBefore = emptyBefore && out.items_[k].least == 0;
            if (out.items_[k].most > 1) {
                out.before_[k] |= std::uint64_t{1} << k;
            }
        }
        for (std::size_t j = k; j-- > 0;) {
            out.before_[k] |= std::uint64_t{1} << j;
            if (out.items_[j].least > 0) {
                break;
            }
        }
    }
    return out;
}

bool SimplePattern::Handles(std::string_view subject) {
    for (const char c : subject) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || (byte >= '\n' && byte <= '\r')) {
            return false;
        }
    }
    return true;
}

bool SimplePattern::MatchAt(std::string_view subject, std::size_t item, std::size_t at,
                            std::size_t& end, long& budget) const {
    if (--budget < 0) {
        return false;
    }
    if (item == items_.size()) {
        if (toEnd_ && at != subject.size()) {
            return false;
        }
        end = at;
        return true;
    }
    const Item& it = items_[item];
    std::size_t count = 0;
    while (count < it.most && at + count < subject.size() && it.Takes(subject[at + count])) {
        ++count;
    }
    budget -= static_cast<long>(count);
    if (count < it.least) {
        return false;
    }
    if (it.possessive) {
        return MatchAt(subject, item + 1, at + count, end, budget);
    }
    // Greedy: the longest run first, then one shorter at a time.
    for (std::size_t k = count;; --k) {
        if (MatchAt(subject, item + 1, at + k, end, budget)) {
            return true;
        }
        if (k == it.least || budget < 0) {
            return false;
        }
    }
}

// A pattern that ends in $ matches only up to the end, so its leftmost match is the longest
// ending of the subject that the pattern takes whole, whatever the order in which repeats are
// tried. The endings are read from the last character back, one step each, with the set of
// items that may have taken the character read last.
SimplePattern::Outcome SimplePattern::SearchFromTheEnd(std::string_view subject, std::size_t from,
                                                       Match& match) const {
    bool found = false;
    std::size_t start = subject.size();
    std::uint64_t active = std::uint64_t{1} << items_.size();
    for (std::size_t at = subject.size();; --at) {
        if ((active & accepting_) != 0 && (!fromStart_ || at == 0)) {
            found = true;
            start = at;
        }
        if (at == from || at == 0) {
            break;
        }
        std::uint64_t next = 0;
        for (std::uint64_t rest = active; rest != 0; rest &= rest - 1) {
            next |= before_[static_cast<std::size_t>(std::countr_zero(rest))];
        }
        // The subject is ASCII: every character has its entry.
        active = next & takers_[static_cast<unsigned char>(subject[at - 1])];
        if (active == 0) {
            break;
        }
    }
    if (!found) {
        return Outcome::kNoMatch;
    }
    match = {start, subject.size()};
    return Outcome::kMatch;
}

SimplePattern::Outcome SimplePattern::Search(std::string_view subject, std::size_t from,
                                             Match& match) const {
    if (from > subject.size() || (fromStart_ && from > 0)) {
        return Outcome::kNoMatch;
    }
    if (toEnd_) {
        return SearchFromTheEnd(subject, from, match);
    }
    long budget = kBudget;
    const std::size_t last = fromStart_ ? 0 : subject.size();
    for (std::size_t start = from; start <= last; ++start) {
        std::size_t end = 0;
        if (MatchAt(subject, 0, start, end, budget)) {
            match = {start, end};
            return Outcome::kMatch;
        }
        if (budget < 0) {
            return Outcome::kUndecided;
        }
    }
    return Outcome::kNoMatch;
}

}  // namespace fw
