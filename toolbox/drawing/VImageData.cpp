#include "toolbox/drawing/VImageData.h"

#include "platform/core/Memory.h"
#include "toolbox/foundation/VEngine.h"

VImageData::~VImageData() { platform::DisposeHandle(fPicture); }

platform::Handle VImageData::DetachPicture()
{
    platform::Handle picture = fPicture;
    fPicture = nullptr;
    return picture;
}

namespace {

platform::Handle Picture(const VImageData& image) { return image.GetPicture(); }
int32_t Kind(const VImageData& image) { return image.GetImageKind(); }
platform::Handle Detach(VImageData& image) { return image.DetachPicture(); }

}  // namespace

void InstallImageDataAccess()
{
    VImageDataAccess access;
    access.getPicture = Picture;
    access.getImageKind = Kind;
    access.detachPicture = Detach;
    SetImageDataAccess(access);
}
