#include "app/Pictures.h"

#include "app/Resources.h"

namespace {

std::shared_ptr<fw::Picture> Cached(std::shared_ptr<fw::Picture>& pic, const char* fileName) {
    if (!pic) {
        if (const auto resources = GetApplicationBundleResources()) {
            pic = resources->Child(fileName)->OpenAsPicture();
        }
    }
    return pic;
}

}  // namespace

#define TUNEMILL_PICTURE(accessor, fileName)     \
    std::shared_ptr<fw::Picture> accessor() {    \
        static std::shared_ptr<fw::Picture> pic; \
        return Cached(pic, fileName);            \
    }

TUNEMILL_PICTURE(file, "file.tiff")
TUNEMILL_PICTURE(file_mask, "file_mask.tiff")
TUNEMILL_PICTURE(folder, "folder.tiff")
TUNEMILL_PICTURE(folder_mask, "folder_mask.tiff")
TUNEMILL_PICTURE(play, "play.tiff")
TUNEMILL_PICTURE(play_mask, "play_mask.tiff")
TUNEMILL_PICTURE(stop, "stop.tiff")
TUNEMILL_PICTURE(stop_mask, "stop_mask.tiff")
TUNEMILL_PICTURE(convert, "convert.tiff")
TUNEMILL_PICTURE(convert_mask, "convert_mask.tiff")

#undef TUNEMILL_PICTURE
