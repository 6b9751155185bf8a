#include "framework/RegEx.h"

#include <QRegularExpression>

#include <map>
#include <optional>

#include "framework/SimplePattern.h"

namespace fw {

namespace {

struct CompiledPattern {
    QRegularExpression general;
    // The same pattern for the plain engine, where it is of that kind.
    std::optional<SimplePattern> simple;
};

// Compiling a pattern costs far more than a search, and the program makes a new searcher for
// every row it adds; compiled patterns are shared, which QRegularExpression makes cheap.
const CompiledPattern& Compiled(const std::string& pattern) {
    static std::map<std::string, CompiledPattern> cache;
    // A program searches with one pattern many times over: the last one is at hand.
    static const std::pair<const std::string, CompiledPattern>* last = nullptr;
    if (last != nullptr && last->first == pattern) {
        return last->second;
    }
    if (cache.size() > 64) {
        cache.clear();
    }
    auto it = cache.find(pattern);
    if (it == cache.end()) {
        CompiledPattern compiled{QRegularExpression(QString::fromStdString(pattern),
                                                    QRegularExpression::CaseInsensitiveOption),
                                 SimplePattern::Parse(pattern)};
        compiled.general.optimize();
        it = cache.emplace(pattern, std::move(compiled)).first;
    }
    last = &*it;
    return it->second;
}

// The matched text in UTF-8, made straight from the subject where it is ASCII.
std::string Utf8(QStringView text) {
    std::string out(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x80) {
            return text.toString().toStdString();
        }
        out[static_cast<std::size_t>(i)] = static_cast<char>(unit);
    }
    return out;
}

}  // namespace

struct RegEx::Impl {
    std::string subject;
    // Made from the subject when the general engine first searches it.
    std::optional<QString> wide;
    // Where the next search starts, in UTF-16 code units; for a subject the plain engine
    // decides on, all ASCII, that is in bytes too.
    qsizetype position = 0;
    bool haveSubject = false;
    bool plainSubject = false;
};

RegEx::RegEx() : impl_(std::make_unique<Impl>()) {}
RegEx::~RegEx() = default;

std::shared_ptr<RegExMatch> RegEx::Search(const std::string& text) {
    impl_->subject = text;
    impl_->wide.reset();
    impl_->position = 0;
    impl_->haveSubject = true;
    impl_->plainSubject = SimplePattern::Handles(text);
    return Search();
}

std::shared_ptr<RegExMatch> RegEx::Search() {
    Impl& d = *impl_;
    if (!d.haveSubject) {
        return nullptr;
    }
    const CompiledPattern& compiled = Compiled(SearchPattern);
    if (!compiled.general.isValid()) {
        return nullptr;
    }
    // An empty match moves on by one, so that a continued search always progresses.
    const auto moveOn = [&d](qsizetype start, qsizetype end) {
        d.position = end > start ? end : end + 1;
    };
    if (compiled.simple && d.plainSubject) {
        SimplePattern::Match m;
        switch (compiled.simple->Search(d.subject, static_cast<std::size_t>(d.position), m)) {
            case SimplePattern::Outcome::kMatch:
                moveOn(static_cast<qsizetype>(m.start), static_cast<qsizetype>(m.end));
                return std::make_shared<RegExMatch>(d.subject.substr(m.start, m.end - m.start));
            case SimplePattern::Outcome::kNoMatch:
                d.position = static_cast<qsizetype>(d.subject.size()) + 1;
                return nullptr;
            case SimplePattern::Outcome::kUndecided:
                break;
        }
    }
    if (!d.wide) {
        d.wide = QString::fromStdString(d.subject);
    }
    if (d.position > d.wide->size()) {
        return nullptr;
    }
    const QRegularExpressionMatch m = compiled.general.match(*d.wide, d.position);
    if (!m.hasMatch()) {
        d.position = d.wide->size() + 1;
        return nullptr;
    }
    moveOn(m.capturedStart(), m.capturedEnd());
    return std::make_shared<RegExMatch>(Utf8(m.capturedView(0)));
}

}  // namespace fw
