#include "conversion/OutputPath.h"

#include "framework/Strings.h"

std::optional<std::string> OutputPath(const std::string& inputPath, fw::Int32 bitrate,
                                      const ListedFile& listed) {
    // Appended piece by piece: GCC 12 at -O3 warns falsely on a chain of + that begins with a
    // literal.
    std::string suffix = "-";
    suffix.append(fw::Str(bitrate)).append("k.mp3");

    // Names hold no slash, so the last one divides every path the list forms (its folder
    // column + "/" + its name column) in one way only.
    const std::size_t slash = inputPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string_view folder =
        std::string_view(inputPath).substr(0, slash == std::string::npos ? 0 : slash);
    std::string name = inputPath.substr(nameStart);
    for (const char* extension : {".wma", ".wav", ".aac", ".m4a", ".ogg"}) {
        name = fw::Replace(name, extension, ".mp3");
    }
    name = fw::Replace(name, ".mp3", suffix);

    const auto writable = [&](std::string_view candidate) {
        return !(listed && listed(folder, candidate));
    };
    const std::string_view sourceName = std::string_view(inputPath).substr(nameStart);
    if (name != sourceName && writable(name)) {
        return inputPath.substr(0, nameStart) + name;
    }
    std::string alternative = std::string(sourceName).append(suffix);
    if (writable(alternative)) {
        return inputPath.substr(0, nameStart) + alternative;
    }
    return std::nullopt;
}
