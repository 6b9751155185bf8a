#include "framework/ToolbarItem.h"

#include <QAction>
#include <QPixmap>
#include <QToolBar>

#include "framework/Picture.h"
#include "framework/PictureImage.h"
#include "framework/Window.h"

namespace fw {

ToolbarItem::ToolbarItem() {
    DeclareEvent<void(ToolbarItem&)>("Open", "(  )");
    DeclareEvent<void(ToolbarItem&)>("Action", "(  )");
}

ToolbarItem::~ToolbarItem() {
    if (action_ != nullptr) {
        action_->deleteLater();
    }
}

void ToolbarItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    Sync();
}

void ToolbarItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Sync();
}

void ToolbarItem::SetImage(std::shared_ptr<Picture> image) {
    image_ = std::move(image);
    if (action_ != nullptr) {
        action_->setIcon(image_ ? QIcon(QPixmap::fromImage(MaskedImage(*image_))) : QIcon());
    }
}

void ToolbarItem::AttachTo(Window& window) {
    Control::AttachTo(window);
    if (action_ == nullptr) {
        action_ = new QAction(window.Toolbar());
        window.Toolbar()->addAction(action_);
        std::weak_ptr<Object> weak = weak_from_this();
        QObject::connect(action_, &QAction::triggered, action_, [weak] {
            if (auto self = std::static_pointer_cast<ToolbarItem>(weak.lock())) {
                self->Press();
            }
        });
    }
    Sync();
}

void ToolbarItem::RaiseOpen() {
    Raise<void(ToolbarItem&)>("Open", *this);
}

void ToolbarItem::Press() {
    Dispatch([this] { Raise<void(ToolbarItem&)>("Action", *this); });
}

void ToolbarItem::Sync() {
    if (action_ == nullptr) {
        return;
    }
    action_->setText(QString::fromStdString(caption_));
    action_->setEnabled(enabled_);
    action_->setObjectName(QString::fromStdString(Name()));
}

const PropertyTable& ToolbarItem::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = ControlProperties();
        t.Add("Enabled", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
            static_cast<ToolbarItem&>(h).SetEnabled(std::get<bool>(v));
        });
        t.Add("Caption", PropType::String, [](PropertyHolder& h, const PropValue& v) {
            static_cast<ToolbarItem&>(h).SetCaption(std::get<std::string>(v));
        });
        t.Add("HelpTag", PropType::String, [](PropertyHolder& h, const PropValue& v) {
            if (QAction* a = static_cast<ToolbarItem&>(h).action_) {
                a->setToolTip(QString::fromStdString(std::get<std::string>(v)));
            }
        });
        t.Add("HelpTagLong", PropType::String);
        return t;
    }();
    return table;
}

StandardToolbarItem::StandardToolbarItem() = default;

StandardToolbarItem::~StandardToolbarItem() {
    if (action_ != nullptr) {
        action_->deleteLater();
    }
}

void StandardToolbarItem::AttachTo(Window& window) {
    Control::AttachTo(window);
}

void StandardToolbarItem::Place(Int32 type) {
    type_ = type;
    Window* window = OwnerWindow();
    if (window == nullptr || action_ != nullptr) {
        return;
    }
    QToolBar* bar = window->Toolbar();
    if (type == 1) {
        action_ = bar->addSeparator();
    } else if (type == 3) {
        auto* spacer = new QWidget(bar);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        action_ = bar->addWidget(spacer);
    } else {
        // A fixed space for any other kind.
        auto* spacer = new QWidget(bar);
        spacer->setFixedWidth(8);
        action_ = bar->addWidget(spacer);
    }
}

const PropertyTable& StandardToolbarItem::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = ControlProperties();
        t.Add("Enabled", PropType::Boolean);
        t.Add("Type", PropType::Int32, [](PropertyHolder& h, const PropValue& v) {
            static_cast<StandardToolbarItem&>(h).Place(std::get<Int32>(v));
        });
        t.Add("IdentifierOther", PropType::String);
        return t;
    }();
    return table;
}

}  // namespace fw
