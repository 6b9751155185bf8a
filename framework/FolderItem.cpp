#include "framework/FolderItem.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

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
}

std::string FolderItem::Name() const {
    if (path_ == "/") {
        return "/";
    }
    const auto slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

std::shared_ptr<FolderItem> FolderItem::Parent() const {
    if (path_ == "/" || path_.empty()) {
        return nullptr;
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

void FolderItem::List() const {
    // Listed and put in name order here rather than by QDir's sorted listing, which holds a
    // full file record per entry while it sorts: for a folder of 100,000 files most of the
    // time and memory of adding it. The order is QDir's by name: QString's, letter case kept.
    struct Listed {
        QString name;
        bool directory;
    };
    std::vector<Listed> listed;
    QDirIterator it(Q(path_),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        // The kind comes with the directory entry; only a link costs a look at its target.
        listed.push_back({it.fileName(), it.fileInfo().isDir()});
    }
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return a.name < b.name; });
    std::vector<Entry> entries;
    entries.reserve(listed.size());
    for (const auto& l : listed) {
        entries.push_back({l.name.toStdString(), l.directory});
    }
    entries_ = std::move(entries);
}

Int32 FolderItem::Count() const {
    List();
    return static_cast<Int32>(entries_->size());
}

std::shared_ptr<FolderItem> FolderItem::Item(Int32 index) const {
    if (!entries_) {
        List();
    }
    if (index < 1 || static_cast<std::size_t>(index) > entries_->size()) {
        return nullptr;
    }
    const Entry& entry = (*entries_)[static_cast<std::size_t>(index - 1)];
    auto item = Child(entry.name);
    item->listedAsDirectory_ = entry.directory;
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
