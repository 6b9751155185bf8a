#include "framework/RegEx.h"

#include <QRegularExpression>

namespace fw {

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
    const QRegularExpression re(QString::fromStdString(SearchPattern),
                                QRegularExpression::CaseInsensitiveOption);
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
