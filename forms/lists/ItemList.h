// The hierarchical item list (choice lists and the lists the design and
// transfer layers build): text items with levels, open and closed
// branches, whole other lists shown as an item's branch (sub-lists), a
// selection and the rows of the last layout. This file holds the model;
// its drawing is in ItemDrawing.h.
//
// A list lives in storage of its user; initqlist makes it live and chains
// it into RootList, deinitqlist tears it down. Each item is a handle of its
// own holding the fixed fields and the text, with room for at least 35
// characters and exactly the text's room when it is longer. Item texts are
// length-prefixed Mac Roman, cut to the list's maximum text length.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/MacTypes.h"

class VObject;
namespace platform {
struct ControlRecord;
}
struct itemlistrec;
struct itemrec;
using ItemHandle = itemrec**;

// A custom draw procedure (drawing is the views' business; the model only
// keeps it).
using ItemDrawProc = void (*)(void* drawRecord);

constexpr uint32_t kItemListMagic = 0x44AA41BB;
constexpr int16_t kItemMinTextRoom = 35;

struct itemrec {
    int16_t mark;               // drawn right-aligned: >0 its number, -1 a check, <-1 the character -mark
    int16_t number;             // the user's item number (choice lists store it)
    int32_t icon;               // icon reference: high word 0 icon family, 1 program 'PICT', 2 structure 'PICT'
    void* data;                 // the caller's
    ItemDrawProc drawProc;      // when set the item is drawn by it alone
    ItemHandle next;            // next sibling
    ItemHandle firstChild;      // first item of the branch below
    ItemHandle parent;          // set by the layout
    itemlistrec* subList;       // a whole list shown as this item's branch; a live one is
                                // the item's: made with NewPtr, torn down and freed with it
    uint8_t face;               // text face (style bits)
    uint8_t callerByte1;
    uint8_t unused;
    uint8_t callerByte2;
    int16_t level;              // depth, 0 at the top
    uint8_t hasBranch;          // set by the layout for every item of a chain where one item has a branch
    uint8_t open;               // branch shown
    uint8_t skip;               // not shown itself: its sub-list's items take its place
    uint8_t selected;           // under multiple selection
    int32_t colour;             // text colour, -1 for the list's default
    unsigned char text[1 + kItemMinTextRoom];  // the handle may hold more: read through ItemText
};

// The item's text; its room is the handle's size less the fixed fields.
unsigned char* ItemText(ItemHandle item);
// The length of the item's text, never past its handle.
int16_t ItemTextLength(ItemHandle item);

// One entry of a list's status handle: a list showing items of another
// list keeps their open state, level and colour here.
struct ItemStatus {
    ItemHandle item;
    uint8_t open;
    int16_t level;
    int32_t colour;
};

struct itemlistrec {
    uint32_t magic;              // kItemListMagic while live
    uint8_t mode;                // 1 scrolling list; other values a pop-up; 0 also lays out closed branches
    uint8_t hasBranches;         // set by the layout
    itemlistrec* nextList;       // RootList chain
    itemlistrec* prevList;
    ItemHandle first;            // head of the top-level chain
    int16_t count;               // rows a live sub-list took in its owner's last layout
    int32_t customIcon;          // disclosure icon id, 0 the default
    int16_t indent;              // per level in line style; also the disclosure width
    int16_t markHeight;          // disclosure icon height, to centre it
    int16_t unused1;
    int16_t maxTextLength;       // item texts are cut to it
    uint8_t treeStyle;           // 1 triangles, 0 dotted lines with boxes
    uint8_t unused2;
    uint8_t singleOwner;         // items are freed without looking at sub-lists
    uint8_t unused3;
    uint8_t inDialog;            // rows take the port's colours
    int16_t settings[3];         // the three list settings a 'List' resource keeps (1, 3, 2 at start)
    int16_t unused4;
    platform::ControlRecord* scrollBar;
    int16_t visibleCount;        // laid-out rows
    int16_t firstShown;          // rows scrolled above the area
    int16_t rowsShown;           // rows drawn in the area, set by the owner
    int16_t selected;            // selected row (1-based), 0 none
    int16_t unused5;
    uint8_t dirty;               // cleared by the layout
    uint8_t multipleSelection[2];  // both set: each item's selected byte counts
    platform::Rect area;
    platform::Handle rows;       // ItemHandle per laid-out row
    platform::Handle status;     // ItemStatus entries
    platform::Handle subLists;   // itemlistrec* of the lists shown inside this one
    int32_t layoutCount;
    uint8_t needsLayout;         // set by every change; the next draw lays out again
    uint8_t shown;               // drawing and highlighting are active
    VObject* editFrame;          // the in-place editor, owned by the list
    int32_t lastEdited;
    uint8_t unused6[2];
    uint8_t unused7[2];
    int16_t font, size;
    int32_t defaultColour;       // used for items of colour -1
    int32_t colourType;
    int16_t rowHeight;           // -1: one row fills the area
    int16_t baselineOffsets[2];
    uint8_t edited;              // an in-place edit stored a text
    uint8_t callerByte;
    uint8_t keepEditing;         // a layout does not end in-place editing
    uint8_t unused8;
    uint8_t focusRing;
    uint8_t unused9;
    VObject* secondFrame;        // released with the list
    platform::Handle statusIndex;  // finds an item's status entry (see ItemList.cpp)
};

// Every live list, newest first.
extern itemlistrec* RootList;

void initqlist(itemlistrec* list, uint8_t callerByte, int16_t maxTextLength);
// Only for a live list (one in the RootList chain); anything else is left alone.
void deinitqlist(itemlistrec* list);
void emptyqlist(itemlistrec* list);

// A new item (colour -1, level 0, closed, no links), with a status entry
// when the list keeps them; null when out of memory. The list needs layout.
ItemHandle newqlist(itemlistrec* list, const unsigned char* text, int16_t number, int16_t mark, void* data,
                    ItemDrawProc drawProc, uint8_t callerByte1, uint8_t callerByte2, uint8_t face);
// newqlist, then the item goes after *last of the caller's chain (*first
// when the chain is empty).
ItemHandle addqlist(itemlistrec* list, const unsigned char* text, int16_t number, int16_t mark, void* data,
                    ItemDrawProc drawProc, uint8_t callerByte1, uint8_t callerByte2, uint8_t face,
                    ItemHandle* first, ItemHandle* last);
// Cuts the text to the list's maximum, resizes the item to the room it
// needs (at least 35 characters); a failed resize keeps the old text.
void SetListItemText(itemlistrec* list, ItemHandle item, const unsigned char* text);
// Item of row n (1-based) of the last layout, or null.
ItemHandle GetListItem(itemlistrec* list, int32_t n);

// Through the list's status entry for the item when there is one, else the
// item's own field; setting an item without an entry adds one when the
// list keeps a status handle.
bool IsOpen(itemlistrec* list, ItemHandle item);
void SetOpenState(itemlistrec* list, ItemHandle item, bool open);
int16_t GetItemLevel(itemlistrec* list, ItemHandle item);
void SetItemLevel(itemlistrec* list, ItemHandle item, int16_t level);
int32_t GetFontColor(itemlistrec* list, ItemHandle item);
// Adds an entry for the item from its own fields; false when out of memory.
bool AddItemStatus(itemlistrec* list, ItemHandle item);

// Under multiple selection the item's selected byte, else whether n is the
// selected row.
bool IsItemSelected(int32_t n, itemlistrec* list);

// Lays the list out into its rows.
void transliste(itemlistrec* list);
// Lays out only when the list needs it, or has items and no rows; true when it did.
bool checktransliste(itemlistrec* list);

// Frees a chain with its branches and live sub-lists; effitemmono frees
// branches without looking at sub-lists.
void effitem(ItemHandle first);
void effitemmono(ItemHandle first);

bool isaList(const itemlistrec* list);

// Resolves an item's icon reference by its high word: 0 an icon family
// (*iconId the low word), 1 the program's 'PICT' of the low word, 2 the
// structure's; anything else nothing (icon 0, no picture).
void ListGetIcon(int32_t reference, int16_t* iconId, platform::Handle* picture);
