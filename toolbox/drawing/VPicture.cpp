#include "toolbox/drawing/VPicture.h"

#include "toolbox/drawing/VImageData.h"

VPicture::VPicture(VImageData* image) : fImage(image)
{
    if (image) {
        int32_t w = 0, h = 0;
        image->GetWidthHeight(w, h);
        SetBounds(0, 0, w, h);
    }
}

VPicture::~VPicture() { delete fImage; }

void VPicture::SetImageData(VImageData* image)
{
    if (image == fImage) return;
    delete fImage;
    fImage = image;
}
