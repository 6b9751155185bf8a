#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ffront {

// The index of the argument naming the file that ffmpeg writes, when the run can be made
// all-or-nothing through a temporary file beside it: the last argument, after an input, not
// an option's value, not a pipe or protocol, and with -y, since without it ffmpeg would refuse
// to write over the temporary file we reserve for it. Nothing otherwise: such a run (-version,
// -h, output to a pipe) passes through as it is.
std::optional<std::size_t> FindOutputArgument(const std::vector<std::string>& args);

// Whether an -f names the output's format, so that ffmpeg need not guess it from the output's
// name: after the last input, before the output at `outputAt`.
bool OutputFormatNamed(const std::vector<std::string>& args, std::size_t outputAt);

// The folder that `output` lies in, as a path that open() takes: "." for a bare name.
std::string FolderOf(std::string_view output);

// A hidden name beside `output`: a dot, `letters`, and the output's extension, which ffmpeg
// reads the format from when no -f is given. Short, so it fits wherever the output's name does.
std::string TemporaryPathFor(std::string_view output, std::string_view letters);

}  // namespace ffront
