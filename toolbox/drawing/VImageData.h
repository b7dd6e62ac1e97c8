// An image value: a picture handle and the kind of image it holds. The
// value owns its handle until it gives it up.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VObject.h"

constexpr int32_t kImageKindNone = 0;

class VImageData : public VObject {
public:
    VImageData() = default;
    // Takes the handle.
    VImageData(platform::Handle picture, int32_t kind) : fPicture(picture), fKind(kind) {}
    ~VImageData() override;
    VImageData(const VImageData&) = delete;
    VImageData& operator=(const VImageData&) = delete;

    platform::Handle GetPicture() const { return fPicture; }
    int32_t GetImageKind() const { return fKind; }
    // The handle passes to the caller; the value then holds none.
    platform::Handle DetachPicture();

private:
    platform::Handle fPicture = nullptr;
    int32_t fKind = kImageKindNone;
};

// How the engine reads image values.
void InstallImageDataAccess();
