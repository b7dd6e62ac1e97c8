#include "forms/reader/TabFont.h"

TabFont::Elem* TabFont::SearchFontElem(int16_t font)
{
    for (Elem& e : elems_)
        if (e.font == font) return &e;
    return nullptr;
}

void TabFont::ChangeFont(int16_t* font)
{
    if (Elem* e = SearchFontElem(*font)) *font = e->replacement;
}
