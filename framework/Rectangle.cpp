#include "framework/Rectangle.h"

#include <QPainter>
#include <QWidget>

namespace fw {

class RectangleWidget : public QWidget {
public:
    RectangleWidget(const Rectangle& owner, QWidget* parent) : QWidget(parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        auto q = [](Color c) { return QColor(c.Red(), c.Green(), c.Blue()); };
        p.fillRect(rect(), q(owner_.fill_));
        const int b = std::max(owner_.borderWidth_, 0);
        if (b > 0) {
            p.fillRect(0, 0, width(), b, q(owner_.topLeft_));
            p.fillRect(0, 0, b, height(), q(owner_.topLeft_));
            p.fillRect(0, height() - b, width(), b, q(owner_.bottomRight_));
            p.fillRect(width() - b, 0, b, height(), q(owner_.bottomRight_));
        }
    }

private:
    const Rectangle& owner_;
};

Rectangle::Rectangle() = default;

QWidget* Rectangle::CreateWidget(QWidget* parent) {
    auto* w = new RectangleWidget(*this, parent);
    w->setObjectName("Rectangle");
    return w;
}

const PropertyTable& Rectangle::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = RectProperties();
        auto color = [](Color Rectangle::*field) {
            return [field](PropertyHolder& h, const PropValue& v) {
                auto& self = static_cast<Rectangle&>(h);
                self.*field = std::get<Color>(v);
                if (QWidget* w = self.Widget()) {
                    w->update();
                }
            };
        };
        t.Add("FillColor", PropType::Color, color(&Rectangle::fill_));
        t.Add("TopLeftColor", PropType::Color, color(&Rectangle::topLeft_));
        t.Add("BottomRightColor", PropType::Color, color(&Rectangle::bottomRight_));
        t.Add("BorderWidth", PropType::Int32, [](PropertyHolder& h, const PropValue& v) {
            static_cast<Rectangle&>(h).borderWidth_ = std::get<Int32>(v);
        });
        return t;
    }();
    return table;
}

}  // namespace fw
