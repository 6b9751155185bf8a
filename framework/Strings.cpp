#include "framework/Strings.h"

#include <QString>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace fw {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

std::string Str(Int32 value) {
    return std::to_string(value);
}

double Val(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    // Take the longest prefix that reads as a decimal number: sign, digits, fraction, exponent.
    std::size_t end = i;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) {
        ++end;
    }
    bool digits = false;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
        ++end;
        digits = true;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
            ++end;
            digits = true;
        }
    }
    if (!digits) {
        return 0.0;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) {
            ++exp;
        }
        if (exp < text.size() && std::isdigit(static_cast<unsigned char>(text[exp]))) {
            while (exp < text.size() && std::isdigit(static_cast<unsigned char>(text[exp]))) {
                ++exp;
            }
            end = exp;
        }
    }
    return std::strtod(text.substr(i, end - i).c_str(), nullptr);
}

std::string Mid(const std::string& text, Int32 start) {
    // In ASCII a character is a byte: no conversion.
    if (IsAscii(text)) {
        const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
        return from >= text.size() ? std::string() : text.substr(from);
    }
    const std::u32string chars = Q(text).toStdU32String();
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= chars.size()) {
        return {};
    }
    return QString::fromStdU32String(chars.substr(from)).toStdString();
}

std::string Mid(const std::string& text, Int32 start, Int32 length) {
    if (length <= 0) {
        return {};
    }
    const std::u32string chars = Q(text).toStdU32String();
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= chars.size()) {
        return {};
    }
    return QString::fromStdU32String(chars.substr(from, static_cast<std::size_t>(length)))
        .toStdString();
}

std::string Lowercase(const std::string& text) {
    // Unicode's lower case of an ASCII text is ASCII's.
    if (IsAscii(text)) {
        return AsciiLowercase(text);
    }
    return Q(text).toLower().toStdString();
}

std::string Replace(const std::string& text, const std::string& find, const std::string& with) {
    if (find.empty()) {
        return text;
    }
    QString s = Q(text);
    const qsizetype at = s.indexOf(Q(find), 0, Qt::CaseInsensitive);
    if (at < 0) {
        return text;
    }
    s.replace(at, Q(find).size(), Q(with));
    return s.toStdString();
}

std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& with) {
    if (find.empty()) {
        return text;
    }
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = text.find(find, pos);
        if (at == std::string::npos) {
            out.append(text, pos, std::string::npos);
            return out;
        }
        out.append(text, pos, at - pos);
        out.append(with);
        pos = at + find.size();
    }
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (true) {
        const auto at = text.find(separator, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (IsAscii(a) && IsAscii(b)) {
        return a.size() == b.size() && AsciiLowercase(a) == AsciiLowercase(b);
    }
    return QString::compare(Q(a), Q(b), Qt::CaseInsensitive) == 0;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

namespace {

unsigned char AsciiLower(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

}  // namespace

std::size_t CommonPrefixLength(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t at = 0;
    // Eight bytes at a time: texts of one list or folder often share long beginnings.
    for (; at + 8 <= n; at += 8) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a.data() + at, 8);
        std::memcpy(&y, b.data() + at, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little) {
                at += static_cast<std::size_t>(std::countr_zero(x ^ y) / 8);
            }
            break;
        }
    }
    while (at < n && a[at] == b[at]) {
        ++at;
    }
    return at;
}

int CompareAsciiLowercase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    // Equal bytes are equal in any case.
    std::size_t i = CommonPrefixLength(a, b);
    for (; i < n; ++i) {
        const unsigned char x = AsciiLower(a[i]);
        const unsigned char y = AsciiLower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string AsciiLowercase(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return out;
}

}  // namespace fw
