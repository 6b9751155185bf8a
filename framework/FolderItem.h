#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Core.h"
#include "framework/LargePages.h"

namespace fw {

class Movie;
class Picture;

// A file or folder by its absolute path. A folder's entries are numbered from 1 in name order.
class FolderItem : public SelfSharing {
public:
    explicit FolderItem(std::string path);

    const std::string& NativePath() const { return path_; }
    const std::string& Name() const { return name_; }
    // The folder that holds the item, or null for the root.
    std::shared_ptr<FolderItem> Parent() const;
    // The path as the system shell spells it here: each space written as a backslash and a space.
    std::string ShellPath() const;
    bool Exists() const;
    // The size of the file in bytes; 0 for a folder or an item that does not exist.
    std::int64_t Length() const;
    bool Directory() const;
    // The entry of that name, whether or not it exists.
    std::shared_ptr<FolderItem> Child(const std::string& name) const;
    // The number of entries directly in the folder, read afresh; Item reads from that listing.
    Int32 Count() const;
    std::shared_ptr<FolderItem> Item(Int32 index) const;
    // The name of the registered file type the item's name matches, or an empty text. A folder
    // matches no type.
    std::string Type() const;
    std::shared_ptr<Picture> OpenAsPicture() const;
    // The file for playing, or null when it is no file that can be read (a folder, say).
    std::shared_ptr<Movie> OpenAsMovie() const;

private:
    void List() const;

    struct Entry {
        // The name's first bytes, in the order of names, for sorting without reading the name.
        std::uint64_t key = 0;
        std::uint32_t at = 0;
        std::uint32_t length = 0;
        bool directory = false;
    };
    using LargeText = std::basic_string<char, std::char_traits<char>, LargePageAllocator<char>>;
    struct Listing {
        LargeText names;
        std::vector<Entry, LargePageAllocator<Entry>> entries;
        std::string_view Name(const Entry& e) const {
            return std::string_view(names).substr(e.at, e.length);
        }
    };

    std::string path_;
    std::string name_;
    mutable std::optional<Listing> listing_;
    // The folder that listed the item, which is its parent.
    std::shared_ptr<const FolderItem> listedIn_;
    // What the listing of the parent said, when the item came from it; read afresh otherwise.
    std::optional<bool> listedAsDirectory_;
};

// The item for a path: type 1 is the shell form (a backslash and a space for a space), any
// other type the plain path. Null when no item can be made from it (an empty or relative path).
std::shared_ptr<FolderItem> GetFolderItem(const std::string& path, Int32 pathType = 0);

}  // namespace fw
