#include "app/FileTypes.h"

namespace FileTypes {

std::shared_ptr<fw::FileType> pAudio;

void Initialize() {
    pAudio = std::make_shared<fw::FileType>();
    pAudio->Name = "Audio";
    pAudio->Extensions = ".wma;.wav;.aac;.m4a;.ogg;.mp3";
    pAudio->MacType = "audio/WMA";
    pAudio->MacCreator = "";
    fw::RegisterFileType(pAudio);
}

}  // namespace FileTypes
