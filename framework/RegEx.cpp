#include "framework/RegEx.h"

#include <QRegularExpression>

#include <map>

namespace fw {

namespace {

// Compiling a pattern costs far more than a search, and the program makes a new searcher for
// every row it adds; compiled patterns are shared, which QRegularExpression makes cheap.
const QRegularExpression& Compiled(const std::string& pattern) {
    static std::map<std::string, QRegularExpression> cache;
    // A program searches with one pattern many times over: the last one is at hand.
    static const std::pair<const std::string, QRegularExpression>* last = nullptr;
    if (last != nullptr && last->first == pattern) {
        return last->second;
    }
    if (cache.size() > 64) {
        cache.clear();
    }
    auto it = cache.find(pattern);
    if (it == cache.end()) {
        QRegularExpression re(QString::fromStdString(pattern),
                              QRegularExpression::CaseInsensitiveOption);
        re.optimize();
        it = cache.emplace(pattern, std::move(re)).first;
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
    QString subject;
    qsizetype position = 0;
    bool haveSubject = false;
};

RegEx::RegEx() : impl_(std::make_unique<Impl>()) {}
RegEx::~RegEx() = default;

std::shared_ptr<RegExMatch> RegEx::Search(const std::string& text) {
    impl_->subject = QString::fromStdString(text);
    impl_->position = 0;
    impl_->haveSubject = true;
    return Search();
}

std::shared_ptr<RegExMatch> RegEx::Search() {
    if (!impl_->haveSubject || impl_->position > impl_->subject.size()) {
        return nullptr;
    }
    const QRegularExpression& re = Compiled(SearchPattern);
    if (!re.isValid()) {
        return nullptr;
    }
    const QRegularExpressionMatch m = re.match(impl_->subject, impl_->position);
    if (!m.hasMatch()) {
        impl_->position = impl_->subject.size() + 1;
        return nullptr;
    }
    // An empty match moves on by one, so that a continued search always progresses.
    impl_->position = m.capturedEnd() > m.capturedStart() ? m.capturedEnd() : m.capturedEnd() + 1;
    return std::make_shared<RegExMatch>(Utf8(m.capturedView(0)));
}

}  // namespace fw
