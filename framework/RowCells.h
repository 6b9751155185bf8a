#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Variant.h"

namespace fw {

// The texts and tags of one row, packed: all texts in one buffer, each after its length, and
// only the tags that hold something. The first few tags live in the row itself and only further
// ones in a block of their own, so a row of eight cells with three tags costs one block of
// memory: one block to free per row when many rows go at once, and far less memory than a text
// and a tag's room in every cell. A cell never written reads as an empty text and an empty tag.
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
        // All of the texts: a search for the last cell walks through them, and freeing the
        // block reads the header of the block after it.
        const char* texts = texts_.data();
        for (std::size_t at = 0; at <= texts_.size(); at += 64) {
            __builtin_prefetch(texts + at);
        }
        __builtin_prefetch(texts + texts_.size());
        if (moreTags_) {
            __builtin_prefetch(moreTags_->data());
        }
    }
    void PrefetchTagObjects() const {
        const auto prefetch = [](const Variant& tag) {
            if (const Object* object = tag.ObjectValue()) {
                // A shared object's count lies just before it (std::make_shared).
                const auto at = reinterpret_cast<std::uintptr_t>(object);
                __builtin_prefetch(object);
                __builtin_prefetch(reinterpret_cast<const void*>(at - 16));
            }
        };
        for (const Variant& tag : tags_) {
            prefetch(tag);
        }
        if (moreTags_) {
            for (const auto& slot : *moreTags_) {
                prefetch(slot.second);
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
    void Open() { texts_.reserve(kOpenTextRoom); }
    void Close() {
        if (texts_.capacity() > texts_.size()) {
            texts_ = std::string(texts_);
        }
        if (moreTags_ && moreTags_->capacity() > moreTags_->size()) {
            moreTags_->shrink_to_fit();
        }
    }

    const Variant& Tag(std::size_t column) const {
        static const Variant empty;
        for (std::size_t k = 0; k < kInlineTags; ++k) {
            if (tagColumns_[k] == column && !tags_[k].IsNil()) {
                return tags_[k];
            }
        }
        if (moreTags_) {
            for (const auto& [c, tag] : *moreTags_) {
                if (c == column) {
                    return tag;
                }
            }
        }
        return empty;
    }

    // Stores a tag and gives back the one it replaces, for the caller to destroy once the
    // cell is whole again.
    Variant SetTag(std::size_t column, Variant tag) {
        for (std::size_t k = 0; k < kInlineTags; ++k) {
            if (tagColumns_[k] == column && !tags_[k].IsNil()) {
                Variant old = std::move(tags_[k]);
                tags_[k] = std::move(tag);
                if (tags_[k].IsNil()) {
                    // The slot is free again; a spilt tag moves into it, so that the row's
                    // block of further tags goes once it holds none.
                    TakeSpiltTagInto(k);
                }
                return old;
            }
        }
        if (moreTags_) {
            for (auto it = moreTags_->begin(); it != moreTags_->end(); ++it) {
                if (it->first == column) {
                    Variant old = std::move(it->second);
                    if (tag.IsNil()) {
                        moreTags_->erase(it);
                        if (moreTags_->empty()) {
                            moreTags_.reset();
                        }
                    } else {
                        it->second = std::move(tag);
                    }
                    return old;
                }
            }
        }
        if (tag.IsNil()) {
            return {};
        }
        for (std::size_t k = 0; k < kInlineTags; ++k) {
            if (tags_[k].IsNil()) {
                tagColumns_[k] = static_cast<std::uint32_t>(column);
                tags_[k] = std::move(tag);
                return {};
            }
        }
        if (!moreTags_) {
            moreTags_ = std::make_unique<std::vector<std::pair<std::size_t, Variant>>>();
        }
        // One more slot, not twice the room: a row holds its few tags for its whole life.
        if (moreTags_->size() == moreTags_->capacity()) {
            moreTags_->reserve(moreTags_->size() + 1);
        }
        moreTags_->emplace_back(column, std::move(tag));
        return {};
    }

private:
    static constexpr std::size_t kHeader = sizeof(std::uint32_t);
    static constexpr std::size_t kOpenTextRoom = 256;
    // A row of the program's list holds three tags; a slot is free while its tag is empty.
    static constexpr std::size_t kInlineTags = 3;

    std::uint32_t LengthAt(std::size_t at) const {
        std::uint32_t length = 0;
        std::memcpy(&length, texts_.data() + at, kHeader);
        return length;
    }

    void TakeSpiltTagInto(std::size_t k) {
        if (!moreTags_) {
            return;
        }
        tagColumns_[k] = static_cast<std::uint32_t>(moreTags_->back().first);
        tags_[k] = std::move(moreTags_->back().second);
        moreTags_->pop_back();
        if (moreTags_->empty()) {
            moreTags_.reset();
        }
    }

    std::string texts_;
    Variant tags_[kInlineTags];
    std::unique_ptr<std::vector<std::pair<std::size_t, Variant>>> moreTags_;
    std::uint32_t tagColumns_[kInlineTags] = {};
};

}  // namespace fw
