#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Variant.h"

namespace fw {

// The texts and tags of one row, packed: all texts in one buffer, each after its length, and
// only the tags that hold something. A row of eight cells so costs two blocks of memory, where
// a text and a tag's room in every cell cost about twice as much at 100,000 rows. A cell never
// written reads as an empty text and an empty tag.
class RowCells {
public:
    std::string_view Text(std::size_t column) const {
        std::size_t at = 0;
        for (std::size_t c = 0; at < texts_.size(); ++c) {
            const std::uint32_t length = LengthAt(at);
            if (c == column) {
                return std::string_view(texts_).substr(at + kHeader, length);
            }
            at += kHeader + length;
        }
        return {};
    }

    // Asks for the texts to be brought into the cache ahead of a scan that will read them.
    void Prefetch() const { __builtin_prefetch(texts_.data()); }
    // Asks for what destroying the row will touch: its blocks of texts and tags and, once the
    // tags are at hand, the objects they hold with their reference counts.
    void PrefetchBlocks() const {
        __builtin_prefetch(texts_.data());
        __builtin_prefetch(tags_.data());
    }
    void PrefetchTagObjects() const {
        for (const auto& slot : tags_) {
            if (const Object* object = slot.second.ObjectValue()) {
                // A shared object's count lies just before it (std::make_shared).
                const auto at = reinterpret_cast<std::uintptr_t>(object);
                __builtin_prefetch(object);
                __builtin_prefetch(reinterpret_cast<const void*>(at - 16));
            }
        }
    }

    void SetText(std::size_t column, std::string_view text) {
        std::size_t at = 0;
        std::size_t c = 0;
        for (; c < column && at < texts_.size(); ++c) {
            at += kHeader + LengthAt(at);
        }
        const std::size_t missing = column - c;  // cells to add, empty, before this one
        const std::size_t oldLength = at < texts_.size() ? kHeader + LengthAt(at) : 0;
        const std::size_t size =
            texts_.size() - oldLength + missing * kHeader + kHeader + text.size();
        const auto length = static_cast<std::uint32_t>(text.size());
        if (at + oldLength == texts_.size() && size <= texts_.capacity()) {
            // The last cell, or one after it, in the room there is: written in place.
            texts_.resize(at);
            texts_.append(missing * kHeader, '\0');
            texts_.append(reinterpret_cast<const char*>(&length), kHeader);
            texts_.append(text);
            return;
        }
        // Built at its exact size: a string that grows keeps up to twice the room it needs.
        std::string packed(size, '\0');
        std::memcpy(packed.data(), texts_.data(), at);
        char* out = packed.data() + at + missing * kHeader;
        std::memcpy(out, &length, kHeader);
        std::memcpy(out + kHeader, text.data(), text.size());
        std::memcpy(out + kHeader + text.size(), texts_.data() + at + oldLength,
                    texts_.size() - at - oldLength);
        texts_ = std::move(packed);
    }

    // A row that is being filled, cell after cell, is given room for its texts and tags at
    // once; Close gives back what it did not use. A row that is never opened is always at its
    // exact size.
    void Open() {
        texts_.reserve(kOpenTextRoom);
        tags_.reserve(kOpenTagRoom);
    }
    void Close() {
        if (texts_.capacity() > texts_.size()) {
            texts_ = std::string(texts_);
        }
        if (tags_.capacity() > tags_.size()) {
            tags_.shrink_to_fit();
        }
    }

    const Variant& Tag(std::size_t column) const {
        static const Variant empty;
        for (const auto& [c, tag] : tags_) {
            if (c == column) {
                return tag;
            }
        }
        return empty;
    }

    // Stores a tag and gives back the one it replaces, for the caller to destroy once the
    // cell is whole again.
    Variant SetTag(std::size_t column, Variant tag) {
        for (auto it = tags_.begin(); it != tags_.end(); ++it) {
            if (it->first == column) {
                Variant old = std::move(it->second);
                if (tag.IsNil()) {
                    tags_.erase(it);
                } else {
                    it->second = std::move(tag);
                }
                return old;
            }
        }
        if (!tag.IsNil()) {
            // One more slot, not twice the room: a row holds its few tags for its whole life.
            if (tags_.size() == tags_.capacity()) {
                tags_.reserve(tags_.size() + 1);
            }
            tags_.emplace_back(column, std::move(tag));
        }
        return {};
    }

private:
    static constexpr std::size_t kHeader = sizeof(std::uint32_t);
    static constexpr std::size_t kOpenTextRoom = 256;
    static constexpr std::size_t kOpenTagRoom = 4;

    std::uint32_t LengthAt(std::size_t at) const {
        std::uint32_t length = 0;
        std::memcpy(&length, texts_.data() + at, kHeader);
        return length;
    }

    std::string texts_;
    std::vector<std::pair<std::size_t, Variant>> tags_;
};

}  // namespace fw
