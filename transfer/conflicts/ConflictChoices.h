// The choices each conflict code offers, read from the program's resource
// 'C_Pm' 0 (big-endian):
//
//  off size
//   0   2   block count                 negative: no block
//   2   ..  blocks, back to back
//
// A block, 8 + 8 x n bytes:
//   0   2   conflict code
//   2   2   object type of the code (the kind it concerns)
//   4   2   low byte: index of the code's text in STR# 1016 (codes below
//           100) or 1017 (from 100), or 1021 / 1022 for records without
//           objects; high byte: its icon (colour icon 512 + number)
//   6   2   n, number of choices         negative: the block does not fit
//   8   8n  the choices
//
// A choice, 8 bytes: its number (the value a record's choice holds), its
// icon (colour icon 257 + number), the index of its text in STR# 1018
// (0: none), a flag byte (ChoiceFlag) and a byte not read.
//
// A block that does not fit in what is left of the resource ends the
// table: later codes have no block, hence no choices and no default.
//
// While G_TempBool is set (the conflict preferences are edited) only the
// choices flagged kChoiceOffered count: positions, counts and look-ups by
// position skip the others.
#pragma once

#include <cstdint>
#include <functional>

namespace transfer {

enum ChoiceFlag : uint8_t {
    kChoiceVisible = 1,   // the record is shown with this choice
    kChoiceOffered = 2,   // offered in the conflict preferences
    kChoiceDefault = 4,   // the code's factory default
    kChoiceShown = 8,     // shown even when the hidden records stay hidden
};

// A copy of one choice entry; number -1 when there is none.
struct C_PmRec {
    int16_t number = -1;
    int16_t icon = 0;
    int16_t text = 0;
    uint8_t flags = 0;
};

constexpr int32_t kC_PmBlockHeader = 8;
constexpr int32_t kC_PmChoiceSize = 8;

// Set while the conflict preferences are edited.
extern bool G_TempBool;

// The blocks of a 'C_Pm' image, read as the rules above say.
class C_PmTable {
public:
    C_PmTable(const uint8_t* data, int32_t size);
    // The block of `code`, null when the code has none.
    const uint8_t* Block(int16_t code) const;
    // Every block that fits, in order.
    void ForEach(const std::function<void(const uint8_t* block)>& visit) const;

    static int16_t Code(const uint8_t* block);
    static int16_t ChoiceCount(const uint8_t* block);
    static const uint8_t* Choice(const uint8_t* block, int32_t index);  // 0-based
    static C_PmRec Entry(const uint8_t* choice);

private:
    const uint8_t* data_;
    int32_t blocks_ = 0;  // the leading blocks that fit
};

// The program's 'C_Pm' 0, loaded; an empty table when it is missing.
// Pointers into it stay valid while the resource stays loaded.
C_PmTable ProgramC_Pm();

void GetTypePtr(int16_t code, const uint8_t** out);
void GetStr_Icn(int16_t code, int16_t* textIndex, int16_t* icon);
int16_t ChooseTypeObj(int16_t code);
void GetChIDC_PmRec(C_PmRec* out, int16_t code, int16_t choice);
void ChooseIDStrListe(int16_t code, int16_t choice, int16_t* textIndex, int16_t* icon);
int16_t MaxChoix(int16_t code);
void GetChoixPtr(int16_t code, int16_t position, const uint8_t** out);
void ChooseNumStrListe(int16_t code, int16_t position, int16_t* textIndex, int16_t* icon);
int16_t ChooseValue(int16_t code, int16_t position);
int16_t ChooseNumber(int16_t code, int16_t choice);

// The factory default of a block: its first choice, then the last choice
// flagged kChoiceDefault; 0 for a block without choices.
int16_t FactoryDefault(const uint8_t* block);

}  // namespace transfer
