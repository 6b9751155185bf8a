#include "framework/FolderItem.h"

#include <QFileInfo>
#include <QString>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "framework/FileType.h"
#include "framework/Movie.h"
#include "framework/Picture.h"
#include "framework/Strings.h"

namespace fw {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

FolderItem::FolderItem(std::string path) : path_(std::move(path)) {
    // Keep the root as "/" but drop a trailing separator elsewhere, so Name and Parent agree.
    while (path_.size() > 1 && path_.back() == '/') {
        path_.pop_back();
    }
    // Kept, since a program asks for it several times for each entry of a folder.
    const auto slash = path_.rfind('/');
    name_ = path_ == "/" || slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::shared_ptr<FolderItem> FolderItem::Parent() const {
    if (path_ == "/" || path_.empty()) {
        return nullptr;
    }
    if (listedIn_) {
        return std::const_pointer_cast<FolderItem>(listedIn_);
    }
    const auto slash = path_.rfind('/');
    if (slash == std::string::npos) {
        return nullptr;
    }
    return std::make_shared<FolderItem>(slash == 0 ? "/" : path_.substr(0, slash));
}

std::string FolderItem::ShellPath() const {
    return ReplaceAll(path_, " ", "\\ ");
}

bool FolderItem::Exists() const {
    return QFileInfo::exists(Q(path_));
}

std::int64_t FolderItem::Length() const {
    const QFileInfo info(Q(path_));
    return info.isFile() ? info.size() : 0;
}

bool FolderItem::Directory() const {
    return QFileInfo(Q(path_)).isDir();
}

std::shared_ptr<FolderItem> FolderItem::Child(const std::string& name) const {
    return std::make_shared<FolderItem>(path_ == "/" ? "/" + name : path_ + "/" + name);
}

namespace {

// Whether the bytes are well-formed UTF-8: such a name is kept as the system gave it.
bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + more >= text.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past the last one are not UTF-8.
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

// The order of two names as QString's operator< gives it, which compares UTF-16 code units,
// read from their UTF-8 bytes. Byte order is code point order, and the two differ only where
// a character from U+E000 to U+FFFF meets one past U+FFFF, which UTF-16 writes with a
// surrogate below U+E000: lead bytes 0xEE and 0xEF then rank after 0xF0 to 0xF4. Bytes 0xFE
// and 0xFF never occur in UTF-8, so the ranks keep bytes apart, and two names compare as the
// ranks of their bytes do.
unsigned Rank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == 0xEE || byte == 0xEF ? byte + 0x10u : static_cast<unsigned>(byte);
}

bool LessAsUtf16(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    const std::size_t at = CommonPrefixLength(a, b);
    if (at == n) {
        return a.size() < b.size();
    }
    return Rank(a[at]) < Rank(b[at]);
}

// The ranks of a name's first eight bytes, the first highest, and 0 after its end: names whose
// keys differ are in the order of their keys, since no byte of a name is 0.
std::uint64_t SortKey(std::string_view name) {
    std::uint64_t key = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        key = (key << 8) | (k < name.size() ? Rank(name[k]) : 0u);
    }
    return key;
}

// Runs each piece of work on a thread of its own, the first on the calling thread, and returns
// once all are done. Where no thread can be had, the work runs here.
template <class Work>
void RunSideBySide(std::size_t count, Work work) {
    std::vector<std::jthread> threads;
    threads.reserve(count);
    for (std::size_t k = 1; k < count; ++k) {
        try {
            threads.emplace_back(work, k);
        } catch (const std::system_error&) {
            work(k);
        }
    }
    if (count > 0) {
        work(0);
    }
}

// Sorts a large folder's entries in parts, side by side, and merges the parts pairwise, also
// side by side: names with long shared beginnings make each comparison a walk through two names,
// and a folder of 100,000 such names took a third of the whole listing to sort on one thread.
template <class T, class Less>
void SortSideBySide(T* first, T* last, Less less) {
    constexpr std::size_t kPartFrom = 2048;
    const auto n = static_cast<std::size_t>(last - first);
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts =
        std::min({cores, std::size_t{8}, std::max<std::size_t>(1, n / kPartFrom)});
    if (parts <= 1) {
        std::sort(first, last, less);
        return;
    }
    std::vector<std::size_t> bound(parts + 1);
    for (std::size_t k = 0; k <= parts; ++k) {
        bound[k] = n * k / parts;
    }
    RunSideBySide(parts,
                  [&](std::size_t k) { std::sort(first + bound[k], first + bound[k + 1], less); });
    // Each round merges from one array into the other; a part without a partner is copied.
    std::vector<T, LargePageAllocator<T>> other(n);
    T* from = first;
    T* to = other.data();
    for (std::size_t width = 1; width < parts; width *= 2) {
        const std::size_t pairs = (parts + 2 * width - 1) / (2 * width);
        RunSideBySide(pairs, [&](std::size_t p) {
            const std::size_t begin = bound[p * 2 * width];
            const std::size_t middle = bound[std::min(p * 2 * width + width, parts)];
            const std::size_t end = bound[std::min(p * 2 * width + 2 * width, parts)];
            std::merge(from + begin, from + middle, from + middle, from + end, to + begin, less);
        });
        std::swap(from, to);
    }
    if (from != first) {
        std::copy(from, from + n, first);
    }
}

}  // namespace

void FolderItem::List() const {
    // Read with the system's own directory calls and put in name order here: a folder of
    // 100,000 files is listed in about the time the file system itself takes, with no file
    // record, conversion or allocation per entry. The names lie one after another in one
    // buffer. The order is QDir's by name: QString's, letter case kept.
    Listing listing;
    if (DIR* dir = opendir(path_.c_str())) {
        const int fd = dirfd(dir);
        // A large folder's listing gets room on large pages at once: one that grows by doubling
        // writes everything again at each step, and takes a page fault for every 4 KiB it
        // writes. A small folder never takes a large page. A folder's size tells a large one
        // ahead on most file systems (tmpfs, ext4); elsewhere the count of entries read does.
        constexpr off_t kLargeFolderSize = 64 * 1024;
        constexpr std::size_t kManyEntries = 4096;
        const auto makeRoom = [&listing] {
            listing.names.reserve(kLargePage);
            listing.entries.reserve((kLargePage + sizeof(Entry) - 1) / sizeof(Entry));
        };
        if (struct stat folder{}; fstat(fd, &folder) == 0 && folder.st_size >= kLargeFolderSize) {
            makeRoom();
        }
        while (const dirent* e = readdir(dir)) {
            const std::string_view name(e->d_name);
            if (name == "." || name == "..") {
                continue;
            }
            bool directory = e->d_type == DT_DIR;
            if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
                // Only a link, or a file system that does not say, costs a look at the target.
                struct stat info {};
                directory = fstatat(fd, e->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
            }
            // A name that is not UTF-8 reads as Qt decodes it, with replacement characters.
            const std::string decoded =
                IsUtf8(name) ? std::string()
                             : QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
                                   .toStdString();
            const std::string_view kept = decoded.empty() ? name : std::string_view(decoded);
            if (listing.entries.size() == kManyEntries) {
                makeRoom();
            }
            listing.entries.push_back({SortKey(kept),
                                       static_cast<std::uint32_t>(listing.names.size()),
                                       static_cast<std::uint32_t>(kept.size()), directory});
            listing.names.append(kept);
        }
        closedir(dir);
    }
    SortSideBySide(listing.entries.data(), listing.entries.data() + listing.entries.size(),
                   [&listing](const Entry& a, const Entry& b) {
                       if (a.key != b.key) {
                           return a.key < b.key;
                       }
                       return LessAsUtf16(listing.Name(a), listing.Name(b));
                   });
    // The names are laid out again in their order, so that the entries are read one after
    // another, from memory in that order too; the reads here are asked for ahead.
    LargeText ordered;
    ordered.reserve(listing.names.size());
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < listing.entries.size(); ++i) {
        if (i + kAhead < listing.entries.size()) {
            const char* next = listing.names.data() + listing.entries[i + kAhead].at;
            __builtin_prefetch(next);
            __builtin_prefetch(next + 64);
        }
        Entry& e = listing.entries[i];
        const std::string_view name = listing.Name(e);
        e.at = static_cast<std::uint32_t>(ordered.size());
        ordered.append(name);
    }
    listing.names = std::move(ordered);
    listing_ = std::move(listing);
}

Int32 FolderItem::Count() const {
    List();
    return static_cast<Int32>(listing_->entries.size());
}

std::shared_ptr<FolderItem> FolderItem::Item(Int32 index) const {
    if (!listing_) {
        List();
    }
    if (index < 1 || static_cast<std::size_t>(index) > listing_->entries.size()) {
        return nullptr;
    }
    const Entry& entry = listing_->entries[static_cast<std::size_t>(index - 1)];
    const std::string_view name = listing_->Name(entry);
    std::string path;
    path.reserve(path_.size() + 1 + name.size());
    path.append(path_ == "/" ? "" : path_).append("/").append(name);
    auto item = std::make_shared<FolderItem>(std::move(path));
    item->listedAsDirectory_ = entry.directory;
    // The entries of one folder share it as their parent, when it is held by reference.
    item->listedIn_ = std::static_pointer_cast<const FolderItem>(weak_from_this().lock());
    return item;
}

std::string FolderItem::Type() const {
    if (listedAsDirectory_ ? *listedAsDirectory_ : Directory()) {
        return {};
    }
    return TypeOfFileName(Name());
}

std::shared_ptr<Picture> FolderItem::OpenAsPicture() const {
    return Picture::Open(path_);
}

std::shared_ptr<Movie> FolderItem::OpenAsMovie() const {
    const QFileInfo info(Q(path_));
    if (!info.isFile() || !info.isReadable()) {
        return nullptr;
    }
    return std::make_shared<Movie>(path_);
}

std::shared_ptr<FolderItem> GetFolderItem(const std::string& path, Int32 pathType) {
    const std::string plain = pathType == 1 ? ReplaceAll(path, "\\ ", " ") : path;
    if (plain.empty() || plain.front() != '/') {
        return nullptr;
    }
    return std::make_shared<FolderItem>(plain);
}

}  // namespace fw
