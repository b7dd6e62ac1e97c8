#include "platform/fonts/Fonts.h"

#include <cstring>
#include <string>

#include "platform/fonts/SystemResFile.h"
#include "platform/text/TextTables.h"

namespace platform {
namespace {

constexpr int16_t kDefaultSize = 12;

// Number order, visible families first.
constexpr FontFamilyEntry kFamilies[] = {
    {systemFont, "Lucida Grande", FileFamily::Sans, false, false},
    {kFontIDNewYork, "New York", FileFamily::Serif, false, false},
    {kFontIDGeneva, "Geneva", FileFamily::Sans, false, false},
    {kFontIDMonaco, "Monaco", FileFamily::SansMono, false, false},
    {kFontIDTimes, "Times", FileFamily::Serif, false, false},
    {kFontIDHelvetica, "Helvetica", FileFamily::LiberationSans, false, false},
    {kFontIDCourier, "Courier", FileFamily::LiberationMono, false, false},
    {kFontIDSymbol, "Symbol", FileFamily::Sans, false, false},
    {kFontIDTimesNewRoman, "Times New Roman", FileFamily::Serif, false, false},
    {kFontIDArial, "Arial", FileFamily::LiberationSans, false, false},
    {kFontIDCourierNew, "Courier New", FileFamily::LiberationMono, false, false},
    {kFontIDBullets, "%Bullets", FileFamily::Sans, true, false, true},
    {kFontIDMenuGlyphs, "%Menu", FileFamily::Sans, true, true},
};
constexpr int32_t kGenevaIndex = 2;

enum class LoadState : uint8_t { NotTried, Loaded, Failed };
LoadState gLoad = LoadState::NotTried;
std::string gMessage;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameName(ConstStr255Param pascal, const char* name)
{
    const size_t n = std::strlen(name);
    if (!pascal || pascal[0] != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(char(pascal[i + 1])) != Lower(name[i])) return false;
    return true;
}

// Keys with no single character of their own show as a short text drawn
// as one glyph: the function keys F1 to F15, help and escape.
constexpr const char32_t* kSequences[] = {U"F1",  U"F2",  U"F3",  U"F4",  U"F5",  U"F6", U"F7",   U"F8",
                                          U"F9",  U"F10", U"F11", U"F12", U"F13", U"F14", U"F15", U"help",
                                          U"esc"};
constexpr char32_t kSequenceBase = 0x110000;  // past every Unicode character

// The menus' glyphs by code: submenu arrow, command, shift and option
// keys, check and mixed marks, scroll arrows, and the special keys by their
// item numbers in the key-name list.
char32_t MenuGlyph(uint8_t byte)
{
    if (byte >= 5 && byte <= 19) return kSequenceBase + (byte - 5);  // F1..F15
    switch (byte) {
    case 1: return U'\u25B8';   // submenu
    case 2: return U'\u2318';   // command
    case 3: return U'\u21E7';   // shift
    case 4: return U'\u2325';   // option
    case 20: return kSequenceBase + 15;  // help
    case 21: return U'\u2326';  // forward delete
    case 22: return U'\u2196';  // home
    case 23: return U'\u2198';  // end
    case 24: return U'\u21DE';  // page up
    case 25: return U'\u21DF';  // page down
    case 26: return U'\u2190';  // left arrow
    case 27: return U'\u2192';  // right arrow
    case 28: return U'\u2191';  // up arrow
    case 29: return U'\u2193';  // down arrow
    case 30: return U'\u21E5';  // tab
    case 31: return U'\u2423';  // space
    case 33: return U'\u232B';  // delete
    case 34: return U'\u2324';  // enter
    case 35: return kSequenceBase + 16;  // escape
    case 37: return U'\u21A9';  // return
    case '0': return U'\u2713'; // check mark
    case '2': return U'\u2013'; // mixed mark
    case 0x40: return U'\u25B2';  // scroll up
    case 0x41: return U'\u25BC';  // scroll down
    default: break;
    }
    return 0;
}

}  // namespace

OSErr InitFonts()
{
    if (gLoad == LoadState::Failed) gLoad = LoadState::NotTried;
    if (!EnsureFonts()) return fnfErr;
    const OSErr err = OpenSystemResFile();
    if (err != noErr)
        gMessage = "The system resource file could not be made in memory. Close other programs and try again.";
    return err;
}

const char* FontStartupMessage() { return gMessage.c_str(); }

bool EnsureFonts()
{
    if (gLoad == LoadState::NotTried || (gLoad == LoadState::Loaded && !FontFilesLoaded())) {
        const OSErr err = LoadFontFiles();
        gLoad = err == noErr ? LoadState::Loaded : LoadState::Failed;
        gMessage = FontFilesMessage();
    }
    return gLoad == LoadState::Loaded;
}

void GetFNum(ConstStr255Param name, int16_t* familyID)
{
    if (!familyID) return;
    *familyID = 0;
    for (const FontFamilyEntry& f : kFamilies)
        if (SameName(name, f.name)) {
            *familyID = f.number;
            return;
        }
}

void GetFontName(int16_t familyID, Str255 name)
{
    if (!name) return;
    name[0] = 0;
    const FontFamilyEntry* found = nullptr;
    if (familyID == applFont) found = &kFamilies[kGenevaIndex];
    for (const FontFamilyEntry& f : kFamilies)
        if (f.number == familyID) found = &f;
    if (!found) return;
    const size_t n = std::strlen(found->name);
    name[0] = uint8_t(n);
    std::memcpy(name + 1, found->name, n);
}

Boolean RealFont(int16_t fontNum, int16_t size)
{
    if (size < 0) return false;
    if (fontNum == applFont) return true;
    for (const FontFamilyEntry& f : kFamilies)
        if (f.number == fontNum) return true;
    return false;
}

int16_t GetDefFontSize() { return kDefaultSize; }

int32_t FontFamilyCount() { return int32_t(sizeof kFamilies / sizeof kFamilies[0]); }

const FontFamilyEntry& FontFamilyAt(int32_t index) { return kFamilies[index]; }

const FontFamilyEntry& ResolveFontFamily(int16_t number)
{
    for (const FontFamilyEntry& f : kFamilies)
        if (f.number == number) return f;
    return kFamilies[kGenevaIndex];
}

const char32_t* GlyphSequence(char32_t c)
{
    if (c < kSequenceBase || c >= kSequenceBase + sizeof kSequences / sizeof kSequences[0]) return nullptr;
    return kSequences[c - kSequenceBase];
}

char32_t FamilyChar(const FontFamilyEntry& family, char32_t c)
{
    if (family.bullets) return c >= 0x20 && c != 0x7F ? U'\u2022' : c;
    // Text converted from Mac Roman keeps the check mark as its control
    // code, which no face draws: the same check as a font byte shows.
    return c == 0x12 ? U'\u2713' : c;
}

char32_t FontByteToUnicode(const FontFamilyEntry& family, uint8_t byte)
{
    if (family.bullets) return byte < 0x20 || byte == 0x7F ? 0 : U'\u2022';
    if (family.menuGlyphs) {
        if (char32_t c = MenuGlyph(byte)) return c;
    }
    switch (byte) {
    case 0x11: return U'\u2318';  // command key
    case 0x12: return U'\u2713';  // check mark
    case 0x13: return U'\u25C6';  // diamond
    default: break;
    }
    if (byte < 0x20 || byte == 0x7F) return 0;
    return kMacRomanToUnicode[byte];
}

}  // namespace platform
