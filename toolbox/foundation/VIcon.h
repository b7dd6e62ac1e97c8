// A colour icon built once from a 'cicn' resource into the platform maps a
// painter draws: a 1-bit bitmap, its mask and a pixel map with its colour
// table. Each handle holds the platform header (BitMap or PixMap, baseAddr
// left null) followed by the bits.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/foundation/VShape.h"

class VPainter;
class VResourceFile;

class VIcon : public VShape {
public:
    // Looks the icon up in the file, else in the toolbox resource file.
    VIcon(VPainter* painter, VResourceFile* file, int16_t id);
    VIcon(VPainter* painter, VResourceFile* file, const char* name);
    VIcon(const VIcon&) = delete;
    VIcon& operator=(const VIcon&) = delete;
    ~VIcon() override;

    // Builds the maps from the resource's bytes; false (and an empty icon)
    // when the resource is damaged or memory runs out.
    bool BuildMacIcon(VPainter* painter, const char* data, int32_t size);

    char** GetBitmap() const { return fBitmap; }
    char** GetMask() const { return fMask; }
    platform::PixMapHandle GetPixMap() const { return fPixMap; }
    // -1 when looked up by name and not found.
    int16_t GetResID() const { return fResID; }

private:
    void LoadFrom(VPainter* painter, VResourceFile* file, int16_t id);
    void Dispose();

    char** fBitmap = nullptr;
    char** fMask = nullptr;
    platform::PixMapHandle fPixMap = nullptr;
    int16_t fResID;
};
