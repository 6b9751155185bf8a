#include "framework/FileType.h"

#include <QString>

#include <algorithm>
#include <string_view>

#include "framework/Strings.h"

namespace fw {

namespace {

std::vector<std::weak_ptr<FileType>>& Registry() {
    static std::vector<std::weak_ptr<FileType>> types;
    return types;
}

}  // namespace

std::vector<std::string> FileType::ExtensionList() const {
    std::vector<std::string> out = Split(Extensions, ';');
    std::erase_if(out, [](const std::string& piece) { return piece.empty(); });
    return out;
}

bool FileType::Matches(const std::string& fileName) const {
    // The extensions are read where they stand: a folder of 100,000 files asks this for each.
    const std::string_view all(Extensions);
    for (std::size_t from = 0; from <= all.size();) {
        const std::size_t end = std::min(all.find(';', from), all.size());
        const std::string_view ext = all.substr(from, end - from);
        from = end + 1;
        if (ext.empty()) {
            continue;
        }
        // Where the extension and the name's last bytes are ASCII, the bytes decide; any other
        // letter may fold onto one of them, and goes through QString.
        if (IsAscii(ext) && fileName.size() >= ext.size()) {
            const std::string_view tail(fileName.data() + fileName.size() - ext.size(), ext.size());
            if (IsAscii(tail)) {
                if (CompareAsciiLowercase(tail, ext) == 0) {
                    return true;
                }
                continue;
            }
        }
        if (QString::fromStdString(fileName).endsWith(
                QString::fromUtf8(ext.data(), static_cast<qsizetype>(ext.size())),
                Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

void RegisterFileType(const std::shared_ptr<FileType>& type) {
    auto& registry = Registry();
    std::erase_if(registry, [](const auto& w) { return w.expired(); });
    registry.push_back(type);
}

std::shared_ptr<FileType> FileTypeNamed(const std::string& name) {
    for (const auto& weak : Registry()) {
        if (auto type = weak.lock(); type && EqualsIgnoringCase(type->Name, name)) {
            return type;
        }
    }
    return nullptr;
}

std::string TypeOfFileName(const std::string& fileName) {
    for (const auto& weak : Registry()) {
        if (auto type = weak.lock(); type && type->Matches(fileName)) {
            return type->Name;
        }
    }
    return {};
}

}  // namespace fw
