#include "kernel/numtext/KernelTextServices.h"

#include <cstring>

#include "kernel/numtext/DateText.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/VMacString.h"

namespace {

void HourToText(int32_t seconds, uint8_t* dest, int32_t format) { strtime(seconds, dest, format); }

void DateToText(const DateBlock& date, uint8_t* dest, int32_t format)
{
    mystrdate(datum{date.day, date.month, date.year}, dest, format);
}

void CenturyInfo(int32_t* pivot, int32_t* century)
{
    const CenturyWindow w = GetCenturyWindow();
    *pivot = w.pivot;
    *century = w.base / 100;
}

}  // namespace

void InstallKernelTextServices()
{
    gKernelTextHooks.hourToText = HourToText;
    gKernelTextHooks.dateToText = DateToText;
    gKernelTextHooks.centuryInfo = CenturyInfo;
}

void ext_FormatReal(parm* block)
{
    uint8_t text[256 + sizeof(double)] = {};
    const double value = block->real288;
    gKernelTextHooks.realToText(&value, text, 1);
    std::memcpy(block->text310, text, size_t(text[0]) + 1);
}

void ext_EvalTime(parm* block)
{
    VMacStr<255> text;
    text.FromMacPString(block->text310);
    block->result304 = text.GetHour();
}

void ext_CenturyInfo(parm* block)
{
    int32_t pivot, century;
    CenturyInfo(&pivot, &century);
    block->slot272.SetLong(pivot);
    block->slot276.SetLong(century);
}
