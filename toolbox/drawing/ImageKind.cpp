#include "toolbox/drawing/ImageKind.h"

#include "platform/core/FourCC.h"

using platform::FourCC;

ImageKind ImageKindFromFileType(uint32_t fileType)
{
    struct Row {
        uint32_t type;
        ImageKind kind;
    };
    static constexpr Row kRows[] = {
        {FourCC("PICT"), kImagePICT}, {FourCC("EMF "), kImageEMF}, {FourCC("WMF "), kImageWMF},
        {FourCC("DXF "), kImageDXF},  {FourCC("EPSF"), kImageEPSF}, {FourCC("BMP "), kImageBMP},
        {FourCC("GIF "), kImageGIF},  {FourCC("PCX "), kImagePCX},  {FourCC("JPEG"), kImageJPEG},
        {FourCC("TIFF"), kImageTIFF}, {FourCC("QTIM"), kImageQuickTime},
    };
    for (const Row& row : kRows)
        if (row.type == fileType) return row.kind;
    return kImageNone;
}
