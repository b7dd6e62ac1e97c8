// The kinds of image a picture value or a picture file can hold, and the
// Finder file type that names each. Only the file type gives the kind:
// contents are never sniffed.
#pragma once

#include <cstdint>

using ImageKind = int16_t;
enum ImageKindValue : ImageKind {
    kImageNone = 0,
    kImagePICT = 1,
    kImageEMF = 2,
    kImageWMF = 3,
    kImageDXF = 4,
    kImageEPSF = 5,
    kImageBMP = 100,
    kImageGIF = 101,
    kImagePCX = 102,
    kImageJPEG = 103,
    kImageTIFF = 104,
    kImageQuickTime = 105,
    kImagePixels = 106,
};

// The kind of a Finder file type; kImageNone for any other type (pixels
// have no file type).
ImageKind ImageKindFromFileType(uint32_t fileType);
