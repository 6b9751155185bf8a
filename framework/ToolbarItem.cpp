#include "framework/ToolbarItem.h"

#include <QAction>
#include <QPixmap>
#include <QPointer>
#include <QToolBar>

#include "framework/Picture.h"
#include "framework/PictureImage.h"
#include "framework/Window.h"

namespace fw {

// The toolkit owns the actions (the toolbar deletes them with the window); a control that
// outlives its window must see that.
struct ToolbarItem::ActionRef {
    QPointer<QAction> action;
};
struct StandardToolbarItem::ActionRef {
    QPointer<QAction> action;
};

QAction* ToolbarItem::Action() const {
    return action_->action.data();
}
QAction* StandardToolbarItem::Action() const {
    return action_->action.data();
}

ToolbarItem::ToolbarItem() : action_(std::make_unique<ActionRef>()) {
    DeclareEvent<void(ToolbarItem&)>("Open", "(  )");
    DeclareEvent<void(ToolbarItem&)>("Action", "(  )");
}

ToolbarItem::~ToolbarItem() {
    if (Action() != nullptr) {
        Action()->deleteLater();
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
    if (Action() != nullptr) {
        Action()->setIcon(image_ ? QIcon(QPixmap::fromImage(MaskedImage(*image_))) : QIcon());
    }
}

void ToolbarItem::AttachTo(Window& window) {
    Control::AttachTo(window);
    if (Action() == nullptr) {
        action_->action = new QAction(window.Toolbar());
        window.Toolbar()->addAction(Action());
        std::weak_ptr<Object> weak = weak_from_this();
        QObject::connect(Action(), &QAction::triggered, Action(), [weak] {
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
    if (Action() == nullptr) {
        return;
    }
    Action()->setText(QString::fromStdString(caption_));
    Action()->setEnabled(enabled_);
    Action()->setObjectName(QString::fromStdString(Name()));
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
            if (QAction* a = static_cast<ToolbarItem&>(h).Action()) {
                a->setToolTip(QString::fromStdString(std::get<std::string>(v)));
            }
        });
        t.Add("HelpTagLong", PropType::String);
        return t;
    }();
    return table;
}

StandardToolbarItem::StandardToolbarItem() : action_(std::make_unique<ActionRef>()) {}

StandardToolbarItem::~StandardToolbarItem() {
    if (Action() != nullptr) {
        Action()->deleteLater();
    }
}

void StandardToolbarItem::AttachTo(Window& window) {
    Control::AttachTo(window);
}

void StandardToolbarItem::Place(Int32 type) {
    type_ = type;
    Window* window = OwnerWindow();
    if (window == nullptr || Action() != nullptr) {
        return;
    }
    QToolBar* bar = window->Toolbar();
    if (type == 1) {
        action_->action = bar->addSeparator();
    } else if (type == 3) {
        auto* spacer = new QWidget(bar);
        spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        action_->action = bar->addWidget(spacer);
    } else {
        // A fixed space for any other kind.
        auto* spacer = new QWidget(bar);
        spacer->setFixedWidth(8);
        action_->action = bar->addWidget(spacer);
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
