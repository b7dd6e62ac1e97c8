// Forms stored as chunk files: a FORM 'LAYO' holding the container chunks
// ("Vers", "KhPr", "Layr", "Nam#", "DRAW", "FONT", "FLAG", "PAG#"), then
// page by page each object's chunks and its "Thm#", and a "PAGE" closing
// the page. Fields and variables bring their "FONT" (when it changes) and
// "SATT" before them and a variable its "DfSt" after it; a group's members
// follow it in a FORM 'OBJG'; a list box is a "GDTL" followed by a "GCOL"
// per column. Written with the builder's own writer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tools/docbuilder/Bytes.h"
#include "tools/docbuilder/Model.h"

namespace docbuilder {

struct IffColumn {
    std::string variable, header, title;
    int16_t methodId = 0;
};

struct IffObject {
    FormItemSpec::Kind kind = FormItemSpec::Rect;
    std::string name;                     // the object's own name
    std::array<int16_t, 4> bounds{};      // top, left, bottom, right
    std::string text;                     // static text, group box, variable title, subform list form
    std::string detail;                   // subform detail form
    std::string format;                   // display format of a field or variable
    std::string variable;                 // variable name
    bool interprocess = false;
    uint8_t subType = 0;
    int16_t fieldNumber = 0, tableNumber = 0, methodId = 0, tip = 0, listId = 0;
    int16_t subformTable = 0;             // a table number negated, or a subtable's field number
    int16_t styleSheet = -1;
    int16_t pictureId = 0;
    std::string pictureName;
    int16_t rows = 2, columns = 2;
    std::vector<int32_t> themes;
    std::vector<IffObject> members;
    uint32_t chunkId = 0;
    Bytes bytes;                          // a raw chunk's data, a variable's default style
    int16_t requiredId = 0, excludedId = 0;  // entry attributes' lists, 0: none
    std::string filter;                   // entry attributes' filter
    bool disabled = false;                // entry attributes: not editable
    bool tiled = false;                   // a picture tiled over its rectangle
    std::string listVariable;             // a list box's variable (interprocess: `interprocess`)
    std::vector<IffColumn> listColumns;
};

struct IffFormLayout {
    bool little = false;
    uint32_t look = 0;
    int16_t inheritTable = 0;
    std::string inheritName, sizeObject, formText;
    std::array<std::string, 10> layers;
    std::vector<std::vector<IffObject>> pages;  // page 0 first
};

Bytes IffForm(const IffFormLayout& form);

}  // namespace docbuilder
