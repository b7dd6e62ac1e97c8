// Font numbers to replace while a form is read: elements of a font number
// and its replacement.
#pragma once

#include <cstdint>
#include <vector>

class TabFont {
public:
    struct Elem {
        int16_t font;
        int16_t replacement;
    };

    void Add(int16_t font, int16_t replacement) { elems_.push_back({font, replacement}); }
    int16_t Count() const { return int16_t(elems_.size()); }
    // The element of that font number, or null.
    Elem* SearchFontElem(int16_t font);
    // Replaces the number when an element has it.
    void ChangeFont(int16_t* font);

private:
    std::vector<Elem> elems_;
};
