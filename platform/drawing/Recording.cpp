#include "platform/drawing/Recording.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/ShapeRegions.h"

namespace platform {

namespace {

struct RegionRecorder {
    bool open = false;
    GrafPtr port = nullptr;
    std::vector<Edge> edges;
    pixman_region32_t outlines;
    bool initialised = false;
};

RegionRecorder gRegion;
PolyHandle gPoly = nullptr;
GrafPtr gPolyPort = nullptr;

constexpr size_t kPointsOffset = offsetof(Polygon, polyPoints);

void UpdatePolyBounds(PolyHandle poly)
{
    int32_t n = PolyPointCount(poly);
    Point* pts = PolyPoints(poly);
    Rect b{0, 0, 0, 0};
    for (int32_t i = 0; i < n; ++i) {
        if (i == 0) {
            b = {pts[0].v, pts[0].h, pts[0].v, pts[0].h};
            continue;
        }
        b.top = std::min(b.top, pts[i].v);
        b.left = std::min(b.left, pts[i].h);
        b.bottom = std::max(b.bottom, pts[i].v);
        b.right = std::max(b.right, pts[i].h);
    }
    (*poly)->polyBBox = b;
}

void AppendPolyPoint(Point pt)
{
    int32_t n = PolyPointCount(gPoly);
    if (n >= 8000)  // polySize stays within 16 bits
        return;
    Size newSize = Size(kPointsOffset + size_t(n + 1) * sizeof(Point));
    SetHandleSize(reinterpret_cast<Handle>(gPoly), newSize);
    if (MemError() != noErr)
        return;
    PolyPoints(gPoly)[n] = pt;
    (*gPoly)->polySize = int16_t(10 + 4 * (n + 1));
    UpdatePolyBounds(gPoly);
}

}  // namespace

bool IsRecordingPoly() { return gPoly != nullptr; }

bool IsRecordingRegion()
{
    return gRegion.open;
}

void OpenRgn()
{
    if (!gRegion.initialised) {
        pixman_region32_init(&gRegion.outlines);
        gRegion.initialised = true;
    }
    if (gRegion.open)
        return;
    gRegion.open = true;
    gRegion.port = GetQDGlobalsThePort();
    gRegion.edges.clear();
    pixman_region32_clear(&gRegion.outlines);
    HidePen();
}

void CloseRgn(RgnHandle dst)
{
    if (!gRegion.open)
        return;
    gRegion.open = false;
    GrafPtr current = GetQDGlobalsThePort();
    SetPort(gRegion.port);
    ShowPen();
    SetPort(current);
    pixman_region32_t* out = RegionData(dst);
    if (!out)
        return;
    pixman_region32_t fromEdges;
    pixman_region32_init(&fromEdges);
    EdgesShape(&fromEdges, gRegion.edges, kAllRows);
    // Parity of the closed outlines and the line path together.
    pixman_region32_t a, b;
    pixman_region32_init(&a);
    pixman_region32_init(&b);
    pixman_region32_subtract(&a, &gRegion.outlines, &fromEdges);
    pixman_region32_subtract(&b, &fromEdges, &gRegion.outlines);
    pixman_region32_union(out, &a, &b);
    pixman_region32_fini(&a);
    pixman_region32_fini(&b);
    pixman_region32_fini(&fromEdges);
    RegionChanged(dst);
    gRegion.edges.clear();
    pixman_region32_clear(&gRegion.outlines);
}

void RecordLine(Point from, Point to)
{
    if (gRegion.open)
        gRegion.edges.push_back({from.h, from.v, to.h, to.v});
}

void RecordOutline(const pixman_region32_t* shape)
{
    if (!gRegion.open)
        return;
    pixman_region32_t a, b;
    pixman_region32_init(&a);
    pixman_region32_init(&b);
    pixman_region32_subtract(&a, &gRegion.outlines, const_cast<pixman_region32_t*>(shape));
    pixman_region32_subtract(&b, const_cast<pixman_region32_t*>(shape), &gRegion.outlines);
    pixman_region32_union(&gRegion.outlines, &a, &b);
    pixman_region32_fini(&a);
    pixman_region32_fini(&b);
}

PolyHandle OpenPoly()
{
    if (gPoly)
        return nullptr;  // one polygon at a time
    Handle h = NewHandleClear(Size(kPointsOffset));
    if (!h)
        return nullptr;
    gPoly = reinterpret_cast<PolyHandle>(h);
    (*gPoly)->polySize = 10;
    gPolyPort = GetQDGlobalsThePort();
    HidePen();
    return gPoly;
}

void ClosePoly()
{
    if (!gPoly)
        return;
    GrafPtr current = GetQDGlobalsThePort();
    SetPort(gPolyPort);
    ShowPen();
    SetPort(current);
    gPoly = nullptr;
    gPolyPort = nullptr;
}

void KillPoly(PolyHandle poly)
{
    if (!poly)
        return;
    if (poly == gPoly)
        ClosePoly();
    DisposeHandle(reinterpret_cast<Handle>(poly));
}

void OffsetPoly(PolyHandle poly, int16_t dh, int16_t dv)
{
    int32_t n = PolyPointCount(poly);
    Point* pts = PolyPoints(poly);
    for (int32_t i = 0; i < n; ++i)
        pts[i] = {ClampTo16(pts[i].v + dv), ClampTo16(pts[i].h + dh)};
    if (poly && *poly)
        UpdatePolyBounds(poly);
}

int32_t PolyPointCount(PolyHandle poly)
{
    if (!poly || !*poly)
        return 0;
    Size size = GetHandleSize(reinterpret_cast<Handle>(poly));
    if (size < Size(kPointsOffset))
        return 0;
    return int32_t((size_t(size) - kPointsOffset) / sizeof(Point));
}

Point* PolyPoints(PolyHandle poly)
{
    if (!poly || !*poly)
        return nullptr;
    return reinterpret_cast<Point*>(reinterpret_cast<char*>(*poly) + kPointsOffset);
}

void RecordPolyLine(Point from, Point to)
{
    if (!gPoly)
        return;
    int32_t n = PolyPointCount(gPoly);
    Point* pts = PolyPoints(gPoly);
    if (n == 0 || pts[n - 1].h != from.h || pts[n - 1].v != from.v)
        AppendPolyPoint(from);
    AppendPolyPoint(to);
}

void ResetRecordings()
{
    gRegion.open = false;
    gRegion.edges.clear();
    if (gRegion.initialised)
        pixman_region32_clear(&gRegion.outlines);
    gPoly = nullptr;  // an open polygon stays the caller's to kill
    gPolyPort = nullptr;
}

}  // namespace platform
