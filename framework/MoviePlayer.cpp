#include "framework/MoviePlayer.h"

#include <QWidget>

namespace fw {

MoviePlayer::MoviePlayer() {
    DeclareEvent<void(MoviePlayer&)>("Stop", "(  )");
    DeclareEvent<void(MoviePlayer&)>("Play", "(  )");
}

MoviePlayer::~MoviePlayer() = default;

QWidget* MoviePlayer::CreateWidget(QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setObjectName("MoviePlayer");
    return w;
}

const PropertyTable& MoviePlayer::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = RectProperties();
        t.Add("AutoResize", PropType::Boolean);
        t.Add("Border", PropType::Boolean);
        t.Add("Speaker", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
            static_cast<MoviePlayer&>(h).SetSpeaker(std::get<bool>(v));
        });
        t.Add("HasStep", PropType::Boolean);
        t.Add("PlayerType", PropType::Int32);
        t.Add("Controller", PropType::Int32);
        t.Add("AutoPlay", PropType::Boolean);
        t.Add("Looping", PropType::Boolean);
        t.Add("Palindrome", PropType::Boolean);
        return t;
    }();
    return table;
}

}  // namespace fw
