#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Core.h"

namespace fw {

// A named file type with its extensions, e.g. ".wav;.mp3". Registered, it is known by its name
// (letter case ignored) for as long as someone holds it.
class FileType : public Object {
public:
    std::string Name;
    std::string Extensions;
    std::string MacType;
    std::string MacCreator;

    std::vector<std::string> ExtensionList() const;
    // Whether a file name ends in one of the extensions, letter case ignored.
    bool Matches(const std::string& fileName) const;
};

void RegisterFileType(const std::shared_ptr<FileType>& type);
// The registered type of that name, or null.
std::shared_ptr<FileType> FileTypeNamed(const std::string& name);
// The name of the first registered type whose extensions the file name matches, or "".
std::string TypeOfFileName(const std::string& fileName);

}  // namespace fw
