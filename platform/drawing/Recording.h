// Recording outlines into regions (OpenRgn/CloseRgn) and lines into
// polygons (OpenPoly/ClosePoly). While either is open the pen is hidden.
#pragma once

#include <pixman.h>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

void OpenRgn();
// Makes the region enclosed by the outlines drawn since OpenRgn: lines and
// the frames of rectangles, ovals, round rectangles, polygons and regions,
// combined by parity.
void CloseRgn(RgnHandle dst);

PolyHandle OpenPoly();
void ClosePoly();
void KillPoly(PolyHandle poly);
void OffsetPoly(PolyHandle poly, int16_t dh, int16_t dv);
int32_t PolyPointCount(PolyHandle poly);
Point* PolyPoints(PolyHandle poly);

// For the shapes: note a line or a closed outline while recording.
bool IsRecordingRegion();
bool IsRecordingPoly();
void RecordLine(Point from, Point to);
void RecordOutline(const pixman_region32_t* shape);
void RecordPolyLine(Point from, Point to);
void ResetRecordings();

}  // namespace platform
