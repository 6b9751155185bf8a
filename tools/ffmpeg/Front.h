#pragma once

namespace ffront {

// Runs `ffmpeg` with the arguments after argv[0] and gives back what the process should exit
// with; dies of ffmpeg's signal, or of the one that stopped it, instead of returning then.
int RunFront(const char* ffmpeg, int argc, char** argv);

}  // namespace ffront
