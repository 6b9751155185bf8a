#pragma once

namespace ffront {

// Where ffmpeg writes before the output is replaced: a file without a name, which cannot
// outlive the front, wherever the folder's file system has them; `Named` always takes the
// hidden name beside the output, as on a file system that has none.
enum class Temporary { UnnamedWherePossible, Named };

// Runs `ffmpeg` with the arguments after argv[0] and gives back what the process should exit
// with; dies of ffmpeg's signal, or of the one that stopped it, instead of returning then.
int RunFront(const char* ffmpeg, int argc, char** argv,
             Temporary temporary = Temporary::UnnamedWherePossible);

}  // namespace ffront
