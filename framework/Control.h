#pragma once

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "framework/Core.h"
#include "framework/Dispatch.h"
#include "framework/PropertySet.h"

class QWidget;

namespace fw {

class Window;

// A control of a window, visible or not. It keeps its layout values, its event table and the
// handlers connected to its events.
class Control : public PropertyHolder {
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // The window it was registered on, or null.
    Window* OwnerWindow() const { return window_; }

    // Connects a handler to one of the class's events. The name and the signature text must be
    // those of the class's event table, and the handler must take what the signature says;
    // anything else raises EventBindingException, so that a wrong binding fails at once.
    template <class Fn>
    void Connect(const std::string& event, const std::string& signature,
                 std::function<Fn> handler) {
        EventSlot& slot = SlotFor(event, signature);
        if (slot.handlerType != std::type_index(typeid(std::function<Fn>))) {
            throw EventBindingException("the handler of " + event + signature +
                                        " takes other arguments");
        }
        slot.handler = std::move(handler);
    }
    bool IsConnected(const std::string& event) const;

    struct EventInfo {
        std::string name;
        std::string signature;
    };
    std::vector<EventInfo> Events() const;

    // Called by the window when it registers the control; a visible control makes its widget.
    virtual void AttachTo(Window& window);
    virtual QWidget* Widget() const { return nullptr; }
    // Raises the control's Open event, if its class has one.
    virtual void RaiseOpen() {}

protected:
    Control() = default;

    template <class Fn>
    void DeclareEvent(const std::string& name, const std::string& signature) {
        slots_.push_back({name, signature, std::type_index(typeid(std::function<Fn>)), {}});
    }

    // Raises an event of the type Fn (the handler's type, the control first). An event without
    // a handler does nothing and gives False, 0 or nothing.
    template <class Fn, class... Args>
    typename std::function<Fn>::result_type Raise(const std::string& event, Args&&... args) {
        using R = typename std::function<Fn>::result_type;
        const std::function<Fn>* handler = HandlerOf<Fn>(event);
        if (handler == nullptr || !*handler) {
            if constexpr (std::is_void_v<R>) {
                return;
            } else {
                return R{};
            }
        }
        // Held for the call: a handler may drop the control's last other reference.
        auto keepAlive = shared_from_this();
        return (*handler)(std::forward<Args>(args)...);
    }

    static PropertyTable ControlProperties();

private:
    struct EventSlot {
        std::string name;
        std::string signature;
        std::type_index handlerType;
        std::any handler;
    };

    EventSlot& SlotFor(const std::string& event, const std::string& signature);

    template <class Fn>
    const std::function<Fn>* HandlerOf(const std::string& event) const {
        for (const auto& slot : slots_) {
            if (slot.name == event) {
                return std::any_cast<std::function<Fn>>(&slot.handler);
            }
        }
        return nullptr;
    }

    std::string name_;
    Window* window_ = nullptr;
    std::vector<EventSlot> slots_;
};

}  // namespace fw
