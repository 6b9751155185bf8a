#include "tools/ffmpeg/Front.h"

#ifndef TUNEMILL_SYSTEM_FFMPEG
#error "TUNEMILL_SYSTEM_FFMPEG names the ffmpeg that the front runs"
#endif

int main(int argc, char** argv) {
    return ffront::RunFront(TUNEMILL_SYSTEM_FFMPEG, argc, argv);
}
