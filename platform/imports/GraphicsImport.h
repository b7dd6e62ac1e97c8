// Graphics importers: a PNG, JPEG, GIF, BMP or picture file read as a
// picture. The
// kind comes from the file's extension, else its Finder type. An image's
// size is read and checked before any pixel memory is taken: more than
// 4,095 x 32,767 pixels gives no picture (imageTooLargeErr); memory
// running out gives memFullErr.
#pragma once

#include "platform/files/FileTypes.h"
#include "platform/pictures/Pictures.h"

namespace platform {

struct GraphicsImporter;
using GraphicsImportComponent = GraphicsImporter*;
using ComponentInstance = GraphicsImporter*;
using ComponentResult = int32_t;

constexpr OSErr cantFindHandler = -2048;     // no importer knows the file
constexpr OSErr imageTooLargeErr = -8971;    // more pixels than a pixel map holds

OSErr GetGraphicsImporterForFile(const FSSpec* theFile, GraphicsImportComponent* gi);
ComponentResult GraphicsImportGetNaturalBounds(GraphicsImportComponent gi, Rect* naturalBounds);
// PNG, GIF and BMP as direct pixels (DirectBitsRect), JPEG kept compressed
// inside the picture, pictures as they are once they play without damage.
ComponentResult GraphicsImportGetAsPicture(GraphicsImportComponent gi, PicHandle* picture);
// Where GraphicsImportDraw draws (null: the current port).
ComponentResult GraphicsImportSetGWorld(GraphicsImportComponent gi, CGrafPtr port, GDHandle gdh);
// Draws the image at its natural bounds.
ComponentResult GraphicsImportDraw(GraphicsImportComponent gi);
OSErr CloseComponent(ComponentInstance ci);

// The picture made from a file's bytes of that kind ('PNGf', 'JPEG',
// 'GIFf', 'BMPf' or 'PICT'); for the importer and its fuzz target.
OSErr ImportPictureFromBytes(OSType kind, const uint8_t* bytes, size_t size, PicHandle* picture);

}  // namespace platform
