#include "framework/RegEx.h"

#include <QRegularExpression>

#include <map>

namespace fw {

namespace {

// Compiling a pattern costs far more than a search, and the program makes a new searcher for
// every row it adds; compiled patterns are shared, which QRegularExpression makes cheap.
const QRegularExpression& Compiled(const std::string& pattern) {
    static std::map<std::string, QRegularExpression> cache;
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
    return it->second;
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
    return std::make_shared<RegExMatch>(m.captured(0).toStdString());
}

}  // namespace fw
