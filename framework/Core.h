#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

namespace fw {

using Int32 = std::int32_t;

inline constexpr Int32 kLowestInt32 = INT32_MIN;

// The root of every object the framework hands around by counted reference; a Variant holds any
// of them, and a cast to an interface is a dynamic cast from here.
class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;
};

// An object that hands out references to itself: controls, windows, folder items. Only these
// carry the reference back to themselves; an object held by others alone, such as one of the
// hundreds of thousands that list cells hold, is then smaller, and dropping its last reference
// costs no atomic operations.
class SelfSharing : public Object, public std::enable_shared_from_this<SelfSharing> {};

class RuntimeException : public std::exception {
public:
    explicit RuntimeException(std::string message = {}) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    // The class name shown by the unhandled-exception report.
    virtual const char* ClassName() const noexcept { return "RuntimeException"; }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

#define FW_DECLARE_EXCEPTION(Name)                                        \
    class Name : public RuntimeException {                                \
    public:                                                               \
        using RuntimeException::RuntimeException;                         \
        const char* ClassName() const noexcept override { return #Name; } \
    }

FW_DECLARE_EXCEPTION(NilObjectException);
FW_DECLARE_EXCEPTION(OutOfBoundsException);
FW_DECLARE_EXCEPTION(IllegalCastException);
FW_DECLARE_EXCEPTION(PropertySetException);
FW_DECLARE_EXCEPTION(EventBindingException);
FW_DECLARE_EXCEPTION(UnsupportedFormatException);

#undef FW_DECLARE_EXCEPTION

// A colour as 24-bit RGB, written RRGGBB.
struct Color {
    std::uint32_t rgb = 0;
    constexpr std::uint8_t Red() const { return static_cast<std::uint8_t>((rgb >> 16) & 0xFF); }
    constexpr std::uint8_t Green() const { return static_cast<std::uint8_t>((rgb >> 8) & 0xFF); }
    constexpr std::uint8_t Blue() const { return static_cast<std::uint8_t>(rgb & 0xFF); }
    friend constexpr bool operator==(Color, Color) = default;
};

constexpr Color RGB(std::uint32_t rgb) {
    return Color{rgb & 0xFFFFFFu};
}

}  // namespace fw
