// Pictures: recording a port's drawing into a picture and playing it back.
//
// A picture is a handle holding the published picture bytes (big-endian;
// read its frame with QDGetPictureBounds, never through a cast). Recording
// writes version 2 pictures; playback reads versions 1 and 2. Playback
// checks every length, count and pixel-map field against the picture: at
// the first damaged opcode it stops, keeps what was drawn, and QDError
// answers codecBadDataErr. It never draws outside the destination.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

using PicHandle = Handle;

// The picture's bytes cannot be read as a picture.
constexpr OSErr codecBadDataErr = -8969;

struct OpenCPicParams {
    Rect srcRect;
    Fixed hRes;
    Fixed vRes;
    int16_t version;  // -2
    int16_t reserved1;
    int32_t reserved2;
};

// Starts recording the current port's drawing (the pen is hidden until
// ClosePicture). OpenCPicture's frame is the source rectangle at 72 dpi;
// the resolution and source rectangle go in the header. Null (QDError)
// when memory runs out or a picture is already open on the port.
PicHandle OpenCPicture(const OpenCPicParams* params);
PicHandle OpenPicture(const Rect* picFrame);
// Ends the recording of the current port and fills its handle.
void ClosePicture();
// Frees a picture (a resource picture is released).
void KillPicture(PicHandle picture);
Boolean IsPortPictureBeingDefined(CGrafPtr port);

// A picture comment: recorded when a picture is open on the current port
// and handed to the port's commentProc when one is set.
void PicComment(int16_t kind, int16_t dataSize, Handle dataHandle);
void StdComment(int16_t kind, int16_t dataSize, Handle dataHandle);

// The 'PICT' resource of that id.
PicHandle GetPicture(int16_t pictureId);

// Plays the picture into the current port, its frame mapped onto dstRect.
// QDError: noErr, codecBadDataErr (damage) or memFullErr.
void DrawPicture(PicHandle picture, const Rect* dstRect);

// The frame in the picture's first 10 bytes ((0, 0, 0, 0) when too short).
Rect* QDGetPictureBounds(PicHandle picture, Rect* bounds);

// Drops the picture being recorded on a port that goes away (its handle
// stays the caller's, as it was when opened).
void AbandonPicture(GrafPtr port);

// Stops every recording; for tests.
void ResetPictures();

}  // namespace platform
