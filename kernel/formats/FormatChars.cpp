#include "kernel/formats/FormatChars.h"

#include "kernel/collation/CustRecord.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

uint8_t diese, hardspace, star, zeroforce, comma, semicol, hardspace2, ampersand, exponent, moinschar;
platform::Str255 decpoint;

namespace {
// The shipped 'COM#' 8, in its stored order.
constexpr uint8_t kDefaultChars[10] = {'#', '^', '*', '0', '.', ';', ' ', '&', 'E', '-'};

void SetChars(const uint8_t* c)
{
    diese = c[0];
    hardspace = c[1];
    star = c[2];
    zeroforce = c[3];
    comma = c[4];
    semicol = c[5];
    hardspace2 = c[6];
    ampersand = c[7];
    exponent = c[8];
    moinschar = c[9];
}

void TakeSystemSeparator()
{
    comma = SystemDecimalSeparator();
    decpoint[0] = 1;
    decpoint[1] = comma;
}
}  // namespace

uint8_t SystemDecimalSeparator() { return '.'; }

void ResetFormatChars()
{
    SetChars(kDefaultChars);
    digit1 = digit2 = digit3 = '0';
    TakeSystemSeparator();
}

void LoadFormatChars()
{
    using namespace platform;
    if (Handle chars = GetResource(platform::FourCC("COM#"), 8); chars != nullptr && *chars != nullptr &&
                                                       GetHandleSize(chars) >= 10)
        SetChars(reinterpret_cast<const uint8_t*>(*chars));
    TakeSystemSeparator();
}

int16_t NoiseDigitCount()
{
    const int16_t k = CustWord(78);
    return k <= 0 ? 5 : k;
}

namespace {
struct Defaults {
    Defaults() { ResetFormatChars(); }
} gDefaults;
}  // namespace
