#include "tools/ffmpeg/Front.h"

#ifndef TUNEMILL_SYSTEM_FFMPEG
#error "TUNEMILL_SYSTEM_FFMPEG names the ffmpeg that the front runs"
#endif

// Tests build a front that behaves as on a file system without unnamed files.
#ifdef TUNEMILL_FRONT_NAMED_TEMPORARY
constexpr auto kTemporary = ffront::Temporary::Named;
#else
constexpr auto kTemporary = ffront::Temporary::UnnamedWherePossible;
#endif

int main(int argc, char** argv) {
    return ffront::RunFront(TUNEMILL_SYSTEM_FFMPEG, argc, argv, kTemporary);
}
