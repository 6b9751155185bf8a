#include "framework/Window.h"

#include <QLayout>
#include <QMainWindow>
#include <QResizeEvent>
#include <QToolBar>
#include <QWidget>

#include "framework/RectControl.h"

namespace fw {

// The window's area: controls are placed in it by coordinates and follow its size by their locks.
class ContentWidget : public QWidget {
public:
    ContentWidget(Window& owner, QWidget* parent) : QWidget(parent), owner_(owner) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        owner_.RelayoutControls();
    }

private:
    Window& owner_;
};

namespace {

std::uint64_t NextGeneration() {
    static std::uint64_t generation = 0;
    return ++generation;
}

std::vector<std::shared_ptr<Window>>& Held() {
    static std::vector<std::shared_ptr<Window>> windows;
    return windows;
}

}  // namespace

Window::Window() : generation_(NextGeneration()) {
    qt_ = new QMainWindow;
    content_ = new ContentWidget(*this, qt_);
    qt_->setCentralWidget(content_);
    content_->resize(width_, height_);
}

Window::~Window() {
    // Controls first: their widgets are children of this window's, which go with it.
    controls_.clear();
    delete qt_;
}

void Window::Constructor() {
    Held().push_back(std::static_pointer_cast<Window>(shared_from_this()));
    try {
        Layout();
        CreateControls();
    } catch (...) {
        // A half-built window must not be found as the window that exists.
        Close();
        throw;
    }
    ApplyLimits();
    ResizeContent(width_, height_);
    // A control's Open handler may need any other control, so they come once all exist.
    const auto controls = controls_;
    for (const auto& control : controls) {
        Dispatch([&] { control->RaiseOpen(); });
    }
    Dispatch([&] { Event_Open(); });
    if (visible_) {
        qt_->show();
        ResizeContent(width_, height_);
    }
}

void Window::Register(const std::string& name, std::shared_ptr<Control> control) {
    if (!control) {
        throw NilObjectException("cannot register a nil control as \"" + name + "\"");
    }
    control->SetName(name);
    controls_.push_back(control);
    generation_ = NextGeneration();
    control->AttachTo(*this);
}

void Window::ControlRenamed() {
    generation_ = NextGeneration();
}

Control* Window::Lookup(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->Name() == name) {
            return control.get();
        }
    }
    return nullptr;
}

Int32 Window::ContentWidth() const {
    return content_->width();
}
Int32 Window::ContentHeight() const {
    return content_->height();
}

void Window::ResizeContent(Int32 width, Int32 height) {
    // The toolbar's height is known only once the layout has run, and a hidden window holds
    // back its resize events: lay it out by hand until the area has the size.
    for (int attempt = 0; attempt < 3; ++attempt) {
        qt_->layout()->setGeometry(QRect(QPoint(0, 0), qt_->size()));
        if (content_->size() == QSize(width, height)) {
            break;
        }
        const QSize extra = qt_->size() - content_->size();
        qt_->resize(QSize(width, height) + extra);
    }
    qt_->layout()->setGeometry(QRect(QPoint(0, 0), qt_->size()));
    RelayoutControls();
}

bool Window::IsVisible() const {
    return qt_->isVisible();
}

void Window::Close() {
    qt_->hide();
    auto& held = Held();
    for (auto it = held.begin(); it != held.end(); ++it) {
        if (it->get() == this) {
            held.erase(it);
            return;
        }
    }
}

QMainWindow* Window::Widget() const {
    return qt_;
}
QWidget* Window::Content() const {
    return content_;
}

QToolBar* Window::Toolbar() {
    if (toolbar_ == nullptr) {
        toolbar_ = qt_->addToolBar("Toolbar");
        toolbar_->setObjectName("Toolbar");
        toolbar_->setMovable(false);
        toolbar_->setFloatable(false);
        toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        toolbar_->setIconSize(QSize(32, 32));
        toolbar_->toggleViewAction()->setVisible(false);
        qt_->setContextMenuPolicy(Qt::NoContextMenu);
    }
    return toolbar_;
}

void Window::RelayoutControls() {
    for (const auto& control : controls_) {
        if (auto* rect = dynamic_cast<RectControl*>(control.get())) {
            rect->Relayout(width_, height_, content_->width(), content_->height());
        }
    }
}

void Window::ApplyLimits() {
    content_->setMinimumSize(minWidth_, minHeight_);
    content_->setMaximumSize(maxWidth_, maxHeight_);
    if (!resizeable_) {
        content_->setFixedSize(width_, height_);
    }
}

const std::vector<std::shared_ptr<Window>>& Window::OpenWindows() {
    return Held();
}

void Window::CloseAll() {
    auto windows = Held();
    for (const auto& w : windows) {
        w->Close();
    }
}

const PropertyTable& Window::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t;
        auto int32 = [](Int32 Window::*field) {
            return [field](PropertyHolder& h, const PropValue& v) {
                auto& w = static_cast<Window&>(h);
                w.*field = std::get<Int32>(v);
                w.ApplyLimits();
            };
        };
        t.Add("Placement", PropType::Int32);
        t.Add("Width", PropType::Int32, int32(&Window::width_));
        t.Add("Height", PropType::Int32, int32(&Window::height_));
        t.Add("MinWidth", PropType::Int32, int32(&Window::minWidth_));
        t.Add("MinHeight", PropType::Int32, int32(&Window::minHeight_));
        t.Add("MaxWidth", PropType::Int32, int32(&Window::maxWidth_));
        t.Add("MaxHeight", PropType::Int32, int32(&Window::maxHeight_));
        t.Add("Frame", PropType::Int32);
        t.Add("Composite", PropType::Boolean);
        t.Add("HasBackColor", PropType::Boolean);
        t.Add("BackColor", PropType::Color);
        t.Add("Title", PropType::String, [](PropertyHolder& h, const PropValue& v) {
            auto& w = static_cast<Window&>(h);
            w.title_ = std::get<std::string>(v);
            w.qt_->setWindowTitle(QString::fromStdString(w.title_));
        });
        t.Add("Visible", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
            static_cast<Window&>(h).visible_ = std::get<bool>(v);
        });
        t.Add("FullScreen", PropType::Boolean);
        t.Add("MenuBarVisible", PropType::Boolean);
        t.Add("CloseButton", PropType::Boolean);
        t.Add("Resizeable", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
            auto& w = static_cast<Window&>(h);
            w.resizeable_ = std::get<bool>(v);
            w.ApplyLimits();
        });
        t.Add("LiveResize", PropType::Boolean);
        t.Add("MaximizeButton", PropType::Boolean);
        t.Add("MinimizeButton", PropType::Boolean);
        t.Add("MacProcID", PropType::Int32);
        return t;
    }();
    return table;
}

}  // namespace fw
