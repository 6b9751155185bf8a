#include "framework/FileType.h"

#include <QString>

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
    const QString name = QString::fromStdString(fileName);
    for (const auto& ext : ExtensionList()) {
        const QString e = QString::fromStdString(ext);
        if (name.endsWith(e, Qt::CaseInsensitive)) {
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
