// A picture placed in a frame: the shape's rectangle, the image value it
// owns, how the image sits in the frame (display mode) and how it meets
// what is under it (transfer mode, 8 transparent).
#pragma once

#include <cstdint>

#include "toolbox/foundation/VShape.h"

class VImageData;

// Display modes: 1 natural size at the top left, 2 centred, 3 tiled,
// 4 scaled to fit at the top left, 5 stretched, 6 scaled to fit, centred.
constexpr int16_t kPictureTopLeft = 1;
constexpr int16_t kPictureCentred = 2;
constexpr int16_t kPictureTiled = 3;
constexpr int16_t kPictureScaled = 4;
constexpr int16_t kPictureStretched = 5;
constexpr int16_t kPictureScaledCentred = 6;
constexpr int16_t kPictureTransparent = 8;

class VPicture : public VShape {
public:
    VPicture() = default;
    // Takes the image; the frame is the image's size.
    explicit VPicture(VImageData* image);
    ~VPicture() override;
    VPicture(const VPicture&) = delete;
    VPicture& operator=(const VPicture&) = delete;

    VImageData* GetImageData() const { return fImage; }
    // Takes the image and deletes the one held before.
    void SetImageData(VImageData* image);
    int16_t GetDisplayMode() const { return fDisplayMode; }
    void SetDisplayMode(int16_t mode) { fDisplayMode = mode; }
    int16_t GetTransferMode() const { return fTransferMode; }
    void SetTransferMode(int16_t mode) { fTransferMode = mode; }

private:
    VImageData* fImage = nullptr;
    int16_t fDisplayMode = kPictureTopLeft;
    int16_t fTransferMode = 0;
};
