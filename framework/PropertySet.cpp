#include "framework/PropertySet.h"

namespace fw {

const char* PropTypeName(PropType type) {
    switch (type) {
        case PropType::Boolean:
            return "Boolean";
        case PropType::Int32:
            return "Int32";
        case PropType::Color:
            return "Color";
        case PropType::String:
            return "String";
    }
    return "?";
}

PropType TypeOf(const PropValue& value) {
    switch (value.index()) {
        case 0:
            return PropType::Boolean;
        case 1:
            return PropType::Int32;
        case 2:
            return PropType::Color;
        default:
            return PropType::String;
    }
}

namespace {

void PutBigEndian32(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>((v >> 24) & 0xFF));
    out.push_back(static_cast<char>((v >> 16) & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
    out.push_back(static_cast<char>(v & 0xFF));
}

std::uint32_t GetBigEndian32(const std::string& in, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(in[at + i]);
    }
    return v;
}

}  // namespace

void PropertySetBuilder::Name(const std::string& name) {
    bytes_ += name;
    bytes_.push_back(' ');
}

PropertySetBuilder& PropertySetBuilder::Boolean(const std::string& name, bool value) {
    Name(name);
    bytes_.push_back(value ? '\x01' : '\x00');
    return *this;
}

PropertySetBuilder& PropertySetBuilder::Int32(const std::string& name, fw::Int32 value) {
    Name(name);
    PutBigEndian32(bytes_, static_cast<std::uint32_t>(value));
    return *this;
}

PropertySetBuilder& PropertySetBuilder::Color(const std::string& name, std::uint32_t rgb) {
    Name(name);
    bytes_.push_back(static_cast<char>((rgb >> 16) & 0xFF));
    bytes_.push_back(static_cast<char>((rgb >> 8) & 0xFF));
    bytes_.push_back(static_cast<char>(rgb & 0xFF));
    return *this;
}

PropertySetBuilder& PropertySetBuilder::String(const std::string& name, const std::string& value) {
    Name(name);
    PutBigEndian32(bytes_, static_cast<std::uint32_t>(value.size()));
    bytes_ += value;
    return *this;
}

std::vector<PropertyEntry> DecodePropertySet(
    const std::string& bytes, const std::function<const PropType*(const std::string&)>& typeOf) {
    std::vector<PropertyEntry> entries;
    std::size_t at = 0;
    auto need = [&](std::size_t n, const std::string& name) {
        if (bytes.size() - at < n) {
            throw PropertySetException("the value of property \"" + name + "\" is cut short");
        }
    };
    while (at < bytes.size()) {
        const std::size_t space = bytes.find(' ', at);
        if (space == std::string::npos) {
            throw PropertySetException("property set entry without a value at byte " +
                                       std::to_string(at));
        }
        std::string name = bytes.substr(at, space - at);
        for (unsigned char c : name) {
            if (c < 0x21 || c > 0x7E) {
                throw PropertySetException("property set entry with a malformed name at byte " +
                                           std::to_string(at));
            }
        }
        const PropType* type = typeOf(name);
        if (type == nullptr) {
            throw PropertySetException("unknown property \"" + name + "\"");
        }
        at = space + 1;
        PropValue value;
        switch (*type) {
            case PropType::Boolean: {
                need(1, name);
                const auto b = static_cast<unsigned char>(bytes[at]);
                if (b > 1) {
                    throw PropertySetException("property \"" + name + "\" needs a Boolean");
                }
                value = b == 1;
                at += 1;
                break;
            }
            case PropType::Int32:
                need(4, name);
                value = static_cast<Int32>(GetBigEndian32(bytes, at));
                at += 4;
                break;
            case PropType::Color:
                need(3, name);
                value = Color{
                    (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) << 16) |
                    (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8) |
                    static_cast<unsigned char>(bytes[at + 2])};
                at += 3;
                break;
            case PropType::String: {
                need(4, name);
                const std::uint32_t length = GetBigEndian32(bytes, at);
                at += 4;
                need(length, name);
                value = bytes.substr(at, length);
                at += length;
                break;
            }
        }
        entries.push_back({std::move(name), std::move(value)});
    }
    return entries;
}

PropertyTable& PropertyTable::Add(const std::string& name, PropType type, Setter apply) {
    defs_[name] = Def{type, std::move(apply)};
    return *this;
}

const PropertyTable::Def* PropertyTable::Find(const std::string& name) const {
    const auto it = defs_.find(name);
    return it == defs_.end() ? nullptr : &it->second;
}

void PropertyHolder::ApplyPropertySet(const std::string& bytes) {
    const PropertyTable& table = Properties();
    // Decode first: a malformed set is reported before anything of it takes effect.
    const auto entries = DecodePropertySet(bytes, [&table](const std::string& name) {
        const auto* def = table.Find(name);
        return def ? &def->type : nullptr;
    });
    for (const auto& entry : entries) {
        const auto* def = table.Find(entry.name);
        if (!applied_.contains(entry.name)) {
            appliedOrder_.push_back(entry.name);
        }
        applied_[entry.name] = entry.value;
        if (def->apply) {
            def->apply(*this, entry.value);
        }
    }
}

const PropValue* PropertyHolder::AppliedValue(const std::string& name) const {
    const auto it = applied_.find(name);
    return it == applied_.end() ? nullptr : &it->second;
}

}  // namespace fw
