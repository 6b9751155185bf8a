#pragma once

#include <memory>
#include <string>
#include <variant>

#include "framework/Core.h"

namespace fw {

// What a cell tag holds: nothing, a text, a number or a counted reference to an object. A text
// is held in a block of its own, shared by copies, since nothing changes it: a value is then no
// larger than a reference, and a list row keeps several of them in itself.
class Variant {
public:
    Variant() = default;
    Variant(std::string text) : value_(std::make_shared<const std::string>(std::move(text))) {}
    Variant(const char* text) : Variant(std::string(text)) {}
    Variant(double number) : value_(number) {}
    template <class T>
    Variant(std::shared_ptr<T> object) {
        if (object) {
            value_ = std::static_pointer_cast<Object>(std::move(object));
        }
    }

    bool IsNil() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsText() const {
        return std::holds_alternative<std::shared_ptr<const std::string>>(value_);
    }
    bool IsNumber() const { return std::holds_alternative<double>(value_); }
    bool IsObject() const { return std::holds_alternative<std::shared_ptr<Object>>(value_); }

    // The object it holds, or null.
    Object* ObjectValue() const {
        const auto* p = std::get_if<std::shared_ptr<Object>>(&value_);
        return p ? p->get() : nullptr;
    }
    std::shared_ptr<Object> SharedObject() const {
        const auto* p = std::get_if<std::shared_ptr<Object>>(&value_);
        return p ? *p : nullptr;
    }

private:
    std::variant<std::monostate, std::shared_ptr<const std::string>, double,
                 std::shared_ptr<Object>>
        value_;
};

// The type test: the object the variant holds as a T, or null when it holds anything else.
template <class T>
T* VariantAs(const Variant& v) {
    return dynamic_cast<T*>(v.ObjectValue());
}

// The cast that a program makes when it knows what the variant holds: an empty variant raises
// NilObjectException and a value of another kind IllegalCastException.
template <class T>
std::shared_ptr<T> VariantCast(const Variant& v) {
    if (v.IsNil()) {
        throw NilObjectException("the value is nil");
    }
    auto object = std::dynamic_pointer_cast<T>(v.SharedObject());
    if (!object) {
        throw IllegalCastException("the value is not of the expected class");
    }
    return object;
}

}  // namespace fw
