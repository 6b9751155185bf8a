#include "framework/StaticText.h"

#include <QLabel>

#include "framework/QtGraphics.h"

namespace fw {

StaticText::StaticText() = default;

void StaticText::SetText(const std::string& text) {
    text_ = text;
    Sync();
}

QWidget* StaticText::CreateWidget(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName("StaticText");
    return label;
}

void StaticText::Sync() {
    auto* label = qobject_cast<QLabel*>(Widget());
    if (label == nullptr) {
        return;
    }
    label->setText(QString::fromStdString(text_));
    QFont font = FontFor(font_, size_, bold_);
    font.setItalic(italic_);
    font.setUnderline(underline_);
    label->setFont(font);
    // 0 left, 1 centre, 2 right.
    const Qt::Alignment horizontal = align_ == 1   ? Qt::AlignHCenter
                                     : align_ == 2 ? Qt::AlignRight
                                                   : Qt::AlignLeft;
    label->setAlignment(horizontal | Qt::AlignVCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(color_.Red(), color_.Green(), color_.Blue()));
    label->setPalette(palette);
}

const PropertyTable& StaticText::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = RectProperties();
        auto apply = [](auto field) {
            return [field](PropertyHolder& h, const PropValue& v) {
                auto& self = static_cast<StaticText&>(h);
                using T = std::remove_reference_t<decltype(self.*field)>;
                self.*field = std::get<T>(v);
                self.Sync();
            };
        };
        t.Add("Text", PropType::String, apply(&StaticText::text_));
        t.Add("TextAlign", PropType::Int32, apply(&StaticText::align_));
        t.Add("TextColor", PropType::Color, apply(&StaticText::color_));
        t.Add("Multiline", PropType::Boolean);
        t.Add("TextFont", PropType::String, apply(&StaticText::font_));
        t.Add("TextSize", PropType::Int32, apply(&StaticText::size_));
        t.Add("Bold", PropType::Boolean, apply(&StaticText::bold_));
        t.Add("Italic", PropType::Boolean, apply(&StaticText::italic_));
        t.Add("Underline", PropType::Boolean, apply(&StaticText::underline_));
        t.Add("DataSource", PropType::String);
        t.Add("DataField", PropType::String);
        return t;
    }();
    return table;
}

}  // namespace fw
