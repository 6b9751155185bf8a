#include "framework/Control.h"

#include "framework/Window.h"

namespace fw {

bool Control::IsConnected(const std::string& event) const {
    for (const auto& slot : slots_) {
        if (slot.name == event) {
            return slot.handler.has_value();
        }
    }
    return false;
}

std::vector<Control::EventInfo> Control::Events() const {
    std::vector<EventInfo> out;
    for (const auto& slot : slots_) {
        out.push_back({slot.name, slot.signature});
    }
    return out;
}

void Control::SetName(const std::string& name) {
    name_ = name;
    if (window_ != nullptr) {
        // The window's answers to lookups by name may name this control.
        window_->ControlRenamed();
    }
}

void Control::AttachTo(Window& window) {
    window_ = &window;
}

Control::EventSlot& Control::SlotFor(const std::string& event, const std::string& signature) {
    for (auto& slot : slots_) {
        if (slot.name == event) {
            if (slot.signature != signature) {
                throw EventBindingException("event " + event + " has the signature " +
                                            slot.signature + ", not " + signature);
            }
            return slot;
        }
    }
    throw EventBindingException("the control \"" + name_ + "\" has no event " + event);
}

PropertyTable Control::ControlProperties() {
    PropertyTable t;
    t.Add("Name", PropType::String, [](PropertyHolder& h, const PropValue& v) {
        static_cast<Control&>(h).SetName(std::get<std::string>(v));
    });
    t.Add("Index", PropType::Int32);
    t.Add("TabPanelIndex", PropType::Int32);
    t.Add("InitialParent", PropType::String);
    return t;
}

}  // namespace fw
