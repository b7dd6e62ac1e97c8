#include "toolbox/drawing/PictureImportHooks.h"

#include "toolbox/drawing/VImageData.h"

namespace {

PictureImportHooks gHooks;

}  // namespace

void SetPictureImportHooks(const PictureImportHooks& hooks) { gHooks = hooks; }
void ResetPictureImportHooks() { gHooks = PictureImportHooks{}; }

platform::Handle QT_MacPictureFromFile(VFile& file, VError* error)
{
    int16_t err = kImageImportFailed;
    platform::Handle picture = gHooks.macPictureFromFile ? gHooks.macPictureFromFile(file, &err) : nullptr;
    if (error) *error = err;
    return picture;
}

platform::Handle QT_QTPictureToMacPicture(platform::Handle picture, platform::Handle) { return picture; }
