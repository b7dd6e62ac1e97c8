#include "platform/drawing/Rects.h"

#include <algorithm>

namespace platform {

namespace {
int16_t Clamp16(int32_t v) { return int16_t(std::clamp<int32_t>(v, -32768, 32767)); }
}  // namespace

void SetPt(Point* pt, int16_t h, int16_t v)
{
    if (pt)
        *pt = {v, h};
}

void AddPt(Point src, Point* dst)
{
    if (dst)
        *dst = {Clamp16(dst->v + src.v), Clamp16(dst->h + src.h)};
}

void SubPt(Point src, Point* dst)
{
    if (dst)
        *dst = {Clamp16(dst->v - src.v), Clamp16(dst->h - src.h)};
}

Boolean EqualPt(Point a, Point b)
{
    return a.h == b.h && a.v == b.v;
}

void SetRect(Rect* r, int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    if (r)
        *r = {top, left, bottom, right};
}

void OffsetRect(Rect* r, int16_t dh, int16_t dv)
{
    if (!r)
        return;
    *r = {Clamp16(r->top + dv), Clamp16(r->left + dh), Clamp16(r->bottom + dv), Clamp16(r->right + dh)};
}

void InsetRect(Rect* r, int16_t dh, int16_t dv)
{
    if (!r)
        return;
    *r = {Clamp16(r->top + dv), Clamp16(r->left + dh), Clamp16(r->bottom - dv), Clamp16(r->right - dh)};
    if (EmptyRect(r))
        *r = {0, 0, 0, 0};
}

Boolean SectRect(const Rect* a, const Rect* b, Rect* dst)
{
    if (!a || !b) {
        if (dst)
            *dst = {0, 0, 0, 0};
        return false;
    }
    Rect s{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
           std::min(a->right, b->right)};
    bool nonEmpty = !EmptyRect(&s);
    if (dst)
        *dst = nonEmpty ? s : Rect{0, 0, 0, 0};
    return nonEmpty;
}

void UnionRect(const Rect* a, const Rect* b, Rect* dst)
{
    if (!a || !b || !dst)
        return;
    *dst = {std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom),
            std::max(a->right, b->right)};
}

Boolean PtInRect(Point pt, const Rect* r)
{
    return r && pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom;
}

void Pt2Rect(Point a, Point b, Rect* dst)
{
    if (dst)
        *dst = {std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

Boolean EqualRect(const Rect* a, const Rect* b)
{
    return a && b && a->top == b->top && a->left == b->left && a->bottom == b->bottom &&
           a->right == b->right;
}

Boolean EmptyRect(const Rect* r)
{
    return !r || r->bottom <= r->top || r->right <= r->left;
}

void MapPt(Point* pt, const Rect* src, const Rect* dst)
{
    if (!pt || !src || !dst)
        return;
    int32_t sw = src->right - src->left, sh = src->bottom - src->top;
    if (sw <= 0 || sh <= 0)
        return;
    int32_t dw = dst->right - dst->left, dh = dst->bottom - dst->top;
    pt->h = Clamp16(int32_t((int64_t(pt->h) - src->left) * dw / sw) + dst->left);
    pt->v = Clamp16(int32_t((int64_t(pt->v) - src->top) * dh / sh) + dst->top);
}

void MapRect(Rect* r, const Rect* src, const Rect* dst)
{
    if (!r)
        return;
    Point tl{r->top, r->left}, br{r->bottom, r->right};
    MapPt(&tl, src, dst);
    MapPt(&br, src, dst);
    *r = {tl.v, tl.h, br.v, br.h};
}

}  // namespace platform
