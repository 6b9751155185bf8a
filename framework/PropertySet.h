#pragma once

#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "framework/Core.h"

namespace fw {

enum class PropType { Boolean, Int32, Color, String };

using PropValue = std::variant<bool, Int32, Color, std::string>;

const char* PropTypeName(PropType type);
PropType TypeOf(const PropValue& value);

// Writes a property set: entries of name, one space and the value, nothing between entries.
// Boolean is one byte, Int32 four bytes big-endian, Color three bytes RGB, String a four-byte
// big-endian byte count and UTF-8.
class PropertySetBuilder {
public:
    PropertySetBuilder& Boolean(const std::string& name, bool value);
    PropertySetBuilder& Int32(const std::string& name, fw::Int32 value);
    PropertySetBuilder& Color(const std::string& name, std::uint32_t rgb);
    PropertySetBuilder& String(const std::string& name, const std::string& value);
    const std::string& Build() const { return bytes_; }

private:
    void Name(const std::string& name);
    std::string bytes_;
};

struct PropertyEntry {
    std::string name;
    PropValue value;
};

// Reads a property set. The width of each value follows from the type that the target declares
// for the name, so the reader needs the target's table: `typeOf` gives the type of a name, or
// nothing for a name the target does not have (which makes the set invalid).
std::vector<PropertyEntry> DecodePropertySet(
    const std::string& bytes, const std::function<const PropType*(const std::string&)>& typeOf);

class PropertyHolder;

// A class's properties: name, type, and what applying a value does beyond recording it.
class PropertyTable {
public:
    using Setter = std::function<void(PropertyHolder&, const PropValue&)>;
    struct Def {
        PropType type;
        Setter apply;
    };
    PropertyTable& Add(const std::string& name, PropType type, Setter apply = nullptr);
    const Def* Find(const std::string& name) const;

private:
    std::map<std::string, Def> defs_;
};

// Anything that takes its layout values from a property set: windows and controls.
class PropertyHolder : public SelfSharing {
public:
    virtual const PropertyTable& Properties() const = 0;
    // Applies the set entry by entry in its order. An unknown name, a value of the wrong width
    // or a Boolean byte other than 0 and 1 raises PropertySetException, and then nothing of the
    // set has been applied.
    void ApplyPropertySet(const std::string& bytes);
    // The value last applied for a name, or null.
    const PropValue* AppliedValue(const std::string& name) const;
    const std::vector<std::string>& AppliedOrder() const { return appliedOrder_; }

private:
    std::map<std::string, PropValue> applied_;
    std::vector<std::string> appliedOrder_;
};

}  // namespace fw
