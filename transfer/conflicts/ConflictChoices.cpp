#include "transfer/conflicts/ConflictChoices.h"

#include "app/appl/AppGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

namespace transfer {

bool G_TempBool = false;

namespace {

bool Offered(const uint8_t* choice) { return !G_TempBool || (C_PmTable::Entry(choice).flags & kChoiceOffered); }

// The block's choice at a 1-based position among the offered ones.
const uint8_t* ChoiceAt(const uint8_t* block, int16_t position)
{
    if (!block || position < 1) return nullptr;
    int32_t seen = 0;
    for (int32_t i = 0; i < C_PmTable::ChoiceCount(block); ++i) {
        const uint8_t* c = C_PmTable::Choice(block, i);
        if (Offered(c) && ++seen == position) return c;
    }
    return nullptr;
}

}  // namespace

C_PmTable::C_PmTable(const uint8_t* data, int32_t size) : data_(data)
{
    if (!data || size < 2) return;
    const int32_t declared = platform::ReadBES16(data);
    int32_t at = 2;
    for (int32_t b = 0; b < declared; ++b) {
        if (size - at < kC_PmBlockHeader) break;
        const int32_t n = platform::ReadBES16(data + at + 6);
        if (n < 0 || (size - at - kC_PmBlockHeader) / kC_PmChoiceSize < n) break;
        at += kC_PmBlockHeader + n * kC_PmChoiceSize;
        ++blocks_;
    }
}

void C_PmTable::ForEach(const std::function<void(const uint8_t*)>& visit) const
{
    const uint8_t* block = data_ ? data_ + 2 : nullptr;
    for (int32_t b = 0; b < blocks_; ++b) {
        visit(block);
        block += kC_PmBlockHeader + ChoiceCount(block) * kC_PmChoiceSize;
    }
}

const uint8_t* C_PmTable::Block(int16_t code) const
{
    const uint8_t* found = nullptr;
    ForEach([&](const uint8_t* block) {
        if (!found && Code(block) == code) found = block;
    });
    return found;
}

int16_t C_PmTable::Code(const uint8_t* block) { return platform::ReadBES16(block); }
int16_t C_PmTable::ChoiceCount(const uint8_t* block) { return platform::ReadBES16(block + 6); }

const uint8_t* C_PmTable::Choice(const uint8_t* block, int32_t index)
{
    return block + kC_PmBlockHeader + index * kC_PmChoiceSize;
}

C_PmRec C_PmTable::Entry(const uint8_t* choice)
{
    C_PmRec r;
    r.number = platform::ReadBES16(choice);
    r.icon = platform::ReadBES16(choice + 2);
    r.text = platform::ReadBES16(choice + 4);
    r.flags = choice[6];
    return r;
}

C_PmTable ProgramC_Pm()
{
    const int16_t saved = platform::CurResFile();
    platform::Handle h = nullptr;
    if (G_MainResFile > 0) {
        platform::UseResFile(G_MainResFile);
        h = platform::Get1Resource(platform::FourCC("C_Pm"), 0);
        platform::UseResFile(saved);
    } else {
        h = platform::GetResource(platform::FourCC("C_Pm"), 0);
    }
    if (!h || !*h) return C_PmTable(nullptr, 0);
    return C_PmTable(reinterpret_cast<const uint8_t*>(*h), int32_t(platform::GetHandleSize(h)));
}

void GetTypePtr(int16_t code, const uint8_t** out) { *out = ProgramC_Pm().Block(code); }

void GetStr_Icn(int16_t code, int16_t* textIndex, int16_t* icon)
{
    *textIndex = *icon = 0;
    if (const uint8_t* block = ProgramC_Pm().Block(code)) {
        *textIndex = block[5];
        *icon = block[4];
    }
}

int16_t ChooseTypeObj(int16_t code)
{
    const uint8_t* block = ProgramC_Pm().Block(code);
    return block ? platform::ReadBES16(block + 2) : 0;
}

void GetChIDC_PmRec(C_PmRec* out, int16_t code, int16_t choice)
{
    *out = C_PmRec{};
    const uint8_t* block = ProgramC_Pm().Block(code);
    if (!block) return;
    for (int32_t i = 0; i < C_PmTable::ChoiceCount(block); ++i) {
        const C_PmRec e = C_PmTable::Entry(C_PmTable::Choice(block, i));
        if (e.number == choice) {
            *out = e;
            return;
        }
    }
}

void ChooseIDStrListe(int16_t code, int16_t choice, int16_t* textIndex, int16_t* icon)
{
    C_PmRec e;
    GetChIDC_PmRec(&e, code, choice);
    *textIndex = e.number == -1 ? int16_t(0) : e.text;
    *icon = e.number == -1 ? int16_t(0) : e.icon;
}

int16_t MaxChoix(int16_t code)
{
    const uint8_t* block = ProgramC_Pm().Block(code);
    if (!block) return 0;
    int16_t n = 0;
    for (int32_t i = 0; i < C_PmTable::ChoiceCount(block); ++i)
        if (Offered(C_PmTable::Choice(block, i))) ++n;
    return n;
}

void GetChoixPtr(int16_t code, int16_t position, const uint8_t** out)
{
    *out = ChoiceAt(ProgramC_Pm().Block(code), position);
}

void ChooseNumStrListe(int16_t code, int16_t position, int16_t* textIndex, int16_t* icon)
{
    *textIndex = *icon = 0;
    if (const uint8_t* c = ChoiceAt(ProgramC_Pm().Block(code), position)) {
        const C_PmRec e = C_PmTable::Entry(c);
        *textIndex = e.text;
        *icon = e.icon;
    }
}

int16_t ChooseValue(int16_t code, int16_t position)
{
    const uint8_t* c = ChoiceAt(ProgramC_Pm().Block(code), position);
    return c ? C_PmTable::Entry(c).number : int16_t(0);
}

int16_t ChooseNumber(int16_t code, int16_t choice)
{
    const uint8_t* block = ProgramC_Pm().Block(code);
    if (!block) return 0;
    int16_t offeredBefore = 0;
    for (int32_t i = 0; i < C_PmTable::ChoiceCount(block); ++i) {
        const uint8_t* c = C_PmTable::Choice(block, i);
        if (C_PmTable::Entry(c).number == choice) return G_TempBool ? int16_t(offeredBefore + 1) : int16_t(i + 1);
        if (Offered(c)) ++offeredBefore;
    }
    return 0;
}

int16_t FactoryDefault(const uint8_t* block)
{
    const int32_t n = C_PmTable::ChoiceCount(block);
    if (n <= 0) return 0;
    int16_t choice = C_PmTable::Entry(C_PmTable::Choice(block, 0)).number;
    for (int32_t i = 0; i < n; ++i) {
        const C_PmRec e = C_PmTable::Entry(C_PmTable::Choice(block, i));
        if (e.flags & kChoiceDefault) choice = e.number;
    }
    return choice;
}

}  // namespace transfer
