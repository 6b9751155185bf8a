#include "framework/RectControl.h"

#include <QPointer>
#include <QWidget>

#include "framework/Window.h"

namespace fw {

struct RectControl::Impl {
    QPointer<QWidget> widget;
};

Rect AnchoredGeometry(const Rect& design, const Locks& locks, Int32 designWidth, Int32 designHeight,
                      Int32 width, Int32 height) {
    const Int32 dw = width - designWidth;
    const Int32 dh = height - designHeight;
    Rect r = design;
    if (locks.right) {
        if (locks.left) {
            r.width += dw;
        } else {
            r.left += dw;
        }
    }
    if (locks.bottom) {
        if (locks.top) {
            r.height += dh;
        } else {
            r.top += dh;
        }
    }
    r.width = std::max(r.width, 0);
    r.height = std::max(r.height, 0);
    return r;
}

RectControl::RectControl() : impl_(std::make_unique<Impl>()) {}

RectControl::~RectControl() {
    // Later, not now: the control may go while one of its widget's own events is running.
    if (impl_->widget) {
        impl_->widget->hide();
        impl_->widget->deleteLater();
    }
}

QWidget* RectControl::Widget() const {
    return impl_->widget.data();
}

void RectControl::SetVisible(bool visible) {
    visible_ = visible;
    SyncWidget();
}

void RectControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    SyncWidget();
}

void RectControl::AttachTo(Window& window) {
    Control::AttachTo(window);
    if (!impl_->widget) {
        impl_->widget = CreateWidget(window.Content());
    }
    SyncWidget();
}

void RectControl::Relayout(Int32 designWidth, Int32 designHeight, Int32 width, Int32 height) {
    if (!impl_->widget) {
        return;
    }
    const Rect r = AnchoredGeometry(design_, locks_, designWidth, designHeight, width, height);
    impl_->widget->setGeometry(r.left, r.top, r.width, r.height);
}

void RectControl::SyncWidget() {
    QWidget* w = impl_->widget.data();
    if (w == nullptr) {
        return;
    }
    w->setEnabled(enabled_);
    w->setVisible(visible_);
    if (Window* window = OwnerWindow()) {
        Relayout(window->DesignWidth(), window->DesignHeight(), window->ContentWidth(),
                 window->ContentHeight());
    } else {
        w->setGeometry(design_.left, design_.top, design_.width, design_.height);
    }
}

PropertyTable RectControl::RectProperties() {
    PropertyTable t = ControlProperties();
    auto geometry = [](Int32 Rect::*field) {
        return [field](PropertyHolder& h, const PropValue& v) {
            auto& self = static_cast<RectControl&>(h);
            self.design_.*field = std::get<Int32>(v);
            self.SyncWidget();
        };
    };
    auto lock = [](bool Locks::*field) {
        return [field](PropertyHolder& h, const PropValue& v) {
            auto& self = static_cast<RectControl&>(h);
            self.locks_.*field = std::get<bool>(v);
            self.SyncWidget();
        };
    };
    t.Add("Left", PropType::Int32, geometry(&Rect::left));
    t.Add("Top", PropType::Int32, geometry(&Rect::top));
    t.Add("Width", PropType::Int32, geometry(&Rect::width));
    t.Add("Height", PropType::Int32, geometry(&Rect::height));
    t.Add("LockLeft", PropType::Boolean, lock(&Locks::left));
    t.Add("LockTop", PropType::Boolean, lock(&Locks::top));
    t.Add("LockRight", PropType::Boolean, lock(&Locks::right));
    t.Add("LockBottom", PropType::Boolean, lock(&Locks::bottom));
    t.Add("Visible", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
        static_cast<RectControl&>(h).SetVisible(std::get<bool>(v));
    });
    t.Add("Enabled", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
        static_cast<RectControl&>(h).SetEnabled(std::get<bool>(v));
    });
    t.Add("HelpTag", PropType::String, [](PropertyHolder& h, const PropValue& v) {
        if (QWidget* w = static_cast<RectControl&>(h).Widget()) {
            w->setToolTip(QString::fromStdString(std::get<std::string>(v)));
        }
    });
    t.Add("TabIndex", PropType::Int32);
    t.Add("TabStop", PropType::Boolean);
    t.Add("AutoDeactivate", PropType::Boolean);
    return t;
}

}  // namespace fw
