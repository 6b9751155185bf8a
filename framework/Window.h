#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Control.h"

class QMainWindow;
class QToolBar;
class QWidget;

namespace fw {

// A window with named controls. Its layout values come as a property set; its area (the part
// below the toolbar) is what Width and Height measure.
class Window : public PropertyHolder {
public:
    Window();
    ~Window() override;

    // Builds the window: its layout values, its controls, then the Open events of the controls
    // in creation order and of the window, once every control exists.
    void Constructor();

    // Registers a control under a name; it is looked up by that name from then on.
    void Register(const std::string& name, std::shared_ptr<Control> control);
    Control* Lookup(std::string_view name) const;
    // The control of that name as a T; a missing control raises NilObjectException.
    template <class T>
    T& ControlAs(std::string_view name) const {
        // Handlers look their controls up at every use, a dozen times for each row added: the
        // last answer for each class is kept, and holds while this window registers or renames
        // nothing. Checking it compares the name's bytes and allocates nothing.
        struct Answer {
            std::uint64_t generation = 0;
            std::string name;
            T* control = nullptr;
        };
        static Answer last;
        if (last.control != nullptr && last.generation == generation_ && last.name == name) {
            return *last.control;
        }
        T* control = dynamic_cast<T*>(Lookup(name));
        if (control == nullptr) {
            throw NilObjectException("the window has no control \"" + std::string(name) + "\"");
        }
        last.generation = generation_;
        last.name.assign(name);
        last.control = control;
        return *control;
    }
    const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }
    // A registered control took another name.
    void ControlRenamed();

    struct Binding {
        std::string control;
        std::string event;
        std::string signature;
    };
    // Connects an event of the named control to a handler and records the binding.
    template <class Fn>
    void Bind(const std::string& control, const std::string& event, const std::string& signature,
              std::function<Fn> handler) {
        ControlAs<Control>(control).Connect(event, signature, std::move(handler));
        bindings_.push_back({control, event, signature});
    }
    const std::vector<Binding>& Bindings() const { return bindings_; }

    const std::string& Title() const { return title_; }
    Int32 DesignWidth() const { return width_; }
    Int32 DesignHeight() const { return height_; }
    Int32 ContentWidth() const;
    Int32 ContentHeight() const;
    // Gives the window's area this size (the toolbar comes on top of it).
    void ResizeContent(Int32 width, Int32 height);
    bool IsVisible() const;
    void Close();

    QMainWindow* Widget() const;
    QWidget* Content() const;
    QToolBar* Toolbar();

    const PropertyTable& Properties() const override;

    // The windows that the framework holds: from their construction until they are closed.
    static const std::vector<std::shared_ptr<Window>>& OpenWindows();
    template <class T>
    static std::shared_ptr<T> FindOpen() {
        for (const auto& w : OpenWindows()) {
            if (auto t = std::dynamic_pointer_cast<T>(w)) {
                return t;
            }
        }
        return nullptr;
    }
    static void CloseAll();

protected:
    // The window's events, implemented by a subclass.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void Event_Open() {}

private:
    friend class ContentWidget;
    void RelayoutControls();
    void ApplyLimits();

    QMainWindow* qt_ = nullptr;
    QWidget* content_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::vector<std::shared_ptr<Control>> controls_;
    // Changes whenever the controls do, and is never the same for two windows.
    std::uint64_t generation_ = 0;
    std::vector<Binding> bindings_;
    std::string title_;
    Int32 width_ = 300, height_ = 300;
    Int32 minWidth_ = 0, minHeight_ = 0, maxWidth_ = 32000, maxHeight_ = 32000;
    bool visible_ = true;
    bool resizeable_ = true;
};

}  // namespace fw
