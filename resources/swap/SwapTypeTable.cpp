// The per-type table: which conversion each resource type's contents get.
#include <cstring>

#include "kernel/byteswap/SwapPrimitives.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/FourCC.h"
#include "resources/swap/SwapCursor.h"
#include "resources/swap/SwapResource.h"

using platform::FourCC;

namespace {

enum class Rule : uint8_t {
    Longs,           // every 32-bit value
    Words,           // every 16-bit value
    PictureHeader,   // the first five 16-bit values
    FirstLong,       // the first 32-bit value only
    Cdqz,            // 32, 32, 16, 32 bits
    Template,        // the whole contents by template, in the direction's form
    Records,         // fixed records by template, always the read form
    Dedicated,
    Known            // left as it is
};

using Routine = void (*)(uint8_t, int32_t, uint8_t*);

struct TypeRule {
    uint32_t type;
    Rule rule;
    int16_t templ = 0;
    int16_t recordSize = 0;
    Routine routine = nullptr;
};

#define LONGS(t) {FourCC(t), Rule::Longs}
#define WORDS(t) {FourCC(t), Rule::Words}
#define FIRST(t) {FourCC(t), Rule::FirstLong}
#define TEMPL(t, n) {FourCC(t), Rule::Template, n}
#define ROUTINE(t, r) {FourCC(t), Rule::Dedicated, 0, 0, r}
#define KNOWN(t) {FourCC(t), Rule::Known}

const TypeRule kTypes[] = {
    LONGS("QzQz"), LONGS("DPrt"), LONGS("RegI"), LONGS("RegR"), LONGS("TBa2"), LONGS("TBar"),
    LONGS("XCXC"), LONGS("grac"), LONGS("mem!"), LONGS("offs"), LONGS("tim!"),

    WORDS("#GMO"), WORDS("#GRP"), WORDS("#MOD"), WORDS("QzTR"), WORDS("CRCM"), WORDS("DBPR"),
    WORDS("DICS"), WORDS("DTPT"), WORDS("FGdf"), WORDS("FOR#"), WORDS("KEYS"), WORDS("LAYc"),
    WORDS("LIBA"), WORDS("POSW"), WORDS("PRO#"), WORDS("SHDT"), WORDS("TRI2"), WORDS("VEQz"),
    WORDS("ZRNT"), WORDS("enu "), WORDS("expl"), WORDS("exru"), WORDS("fbo_"), WORDS("pass"),
    WORDS("proc"), WORDS("rex1"), WORDS("schd"), WORDS("stru"), WORDS("x001"), WORDS("xfon"),

    {FourCC("PICT"), Rule::PictureHeader}, {FourCC("MEPI"), Rule::PictureHeader},

    FIRST("QzCo"), FIRST("AUre"), FIRST("CPEL"), FIRST("CrSh"), FIRST("FEc3"), FIRST("FEsu"),
    FIRST("HTpo"), FIRST("HTpr"), FIRST("PUBL"), FIRST("RTOL"), FIRST("RWDB"), FIRST("RtoL"),
    FIRST("SEpo"), FIRST("SOOK"), FIRST("TRHE"), FIRST("afgn"), FIRST("cmps"), FIRST("cook"),
    FIRST("creg"), FIRST("cset"), FIRST("dusr"), FIRST("eSSL"), FIRST("fnum"), FIRST("fsiz"),
    FIRST("keAl"), FIRST("keMR"), FIRST("keTI"), FIRST("pver"), FIRST("rmax"), FIRST("shpr"),
    FIRST("sslP"), FIRST("tmpm"), FIRST("umod"), FIRST("wasw"), FIRST("wcgi"), FIRST("wcon"),
    FIRST("wcpt"), FIRST("wePR"), FIRST("wgen"), FIRST("wjsc"), FIRST("wlog"), FIRST("wpas"),
    FIRST("wpgc"), FIRST("wpgo"), FIRST("wprs"), FIRST("wsla"), FIRST("wvar"), FIRST("xchr"),

    {FourCC("cdQz"), Rule::Cdqz},

    TEMPL("PRQz", 11), TEMPL("FIQz", 13), TEMPL("TFQz", 15), TEMPL("LEQz", 19), TEMPL("ENQz", 21),
    TEMPL("WLQz", 23), TEMPL("MENQ", 35), TEMPL("BAQz", 37), TEMPL("STQz", 43), TEMPL("StyS", 116),
    TEMPL("SCD#", 118), TEMPL("TAB#", 120), TEMPL("FGps", 123), TEMPL("FGS#", 125),
    TEMPL("FGls", 126), TEMPL("FGpp", 127), TEMPL("FGlp", 128), TEMPL("FGdl", 129),
    TEMPL("FGb#", 134), TEMPL("FGa#", 137),

    {FourCC("TPQz"), Rule::Records, 16, 44}, {FourCC("LiHe"), Rule::Records, 17, 18},

    ROUTINE("clut", SwapClut), ROUTINE("QzHE", SwapDoc), ROUTINE("BAHE", SwapDoc),
    ROUTINE("CCHE", SwapDoc), ROUTINE("FIHE", SwapDoc), ROUTINE("FOHE", SwapDoc),
    ROUTINE("GRHE", SwapDoc), ROUTINE("IHHE", SwapDoc), ROUTINE("MEHE", SwapDoc),
    ROUTINE("FON#", SwapFontList), ROUTINE("FOQz", SwapFormat), ROUTINE("NAM#", SwapNameList),
    ROUTINE("PAQz", SwapPAQz), ROUTINE("PIC#", SwapPictList), ROUTINE("plpr", SwapPictListPref),
    ROUTINE("PIWZ", SwapPictureWizardSetting), ROUTINE("CCQz", SwapProcQz),
    ROUTINE("ccqz", SwapProcQz), ROUTINE("Styl", SwapStyleSheets), ROUTINE("Stlx", SwapStyleSheets),

    KNOWN("****"), KNOWN("ALDN"), KNOWN("BKBK"), KNOWN("BKBP"), KNOWN("BKDP"), KNOWN("BKSP"),
    KNOWN("BLDA"), KNOWN("BXPP"), KNOWN("CERT"), KNOWN("CMN#"), KNOWN("DOCH"), KNOWN("FOQU"),
    KNOWN("HEQz"), KNOWN("HTad"), KNOWN("IOth"), KNOWN("KOpt"), KNOWN("LBKP"), KNOWN("LCKM"),
    KNOWN("LPME"), KNOWN("List"), KNOWN("Look"), KNOWN("M68K"), KNOWN("MAPQ"), KNOWN("MEGA"),
    KNOWN("MEPL"), KNOWN("MNFG"), KNOWN("MODQ"), KNOWN("MPPC"), KNOWN("MX86"), KNOWN("PBNM"),
    KNOWN("PKEY"), KNOWN("PRPG"), KNOWN("PSQz"), KNOWN("PrTo"), KNOWN("QATZ"), KNOWN("SENM"),
    KNOWN("SGAN"), KNOWN("SGGA"), KNOWN("SHCW"), KNOWN("SOna"), KNOWN("SOpr"), KNOWN("SOse"),
    KNOWN("STR "), KNOWN("SYNT"), KNOWN("UUID"), KNOWN("VART"), KNOWN("VLFG"), KNOWN("WEDD"),
    KNOWN("WFSH"), KNOWN("WNQz"), KNOWN("Webf"), KNOWN("XTDE"), KNOWN("XXQz"), KNOWN("atbl"),
    KNOWN("brkl"), KNOWN("brkp"), KNOWN("comp"), KNOWN("dbpr"), KNOWN("dbws"), KNOWN("fnam"),
    KNOWN("form"), KNOWN("hmpg"), KNOWN("moQz"), KNOWN("path"), KNOWN("tmpf"), KNOWN("webl"),
    KNOWN("xmd@"),
};

#undef LONGS
#undef WORDS
#undef FIRST
#undef TEMPL
#undef ROUTINE
#undef KNOWN

const TypeRule* FindRule(uint32_t type)
{
    for (const TypeRule& r : kTypes)
        if (r.type == type) return &r;
    return nullptr;
}

// Reverses the fields of the given widths from the start; stops with
// errSwap at the first that does not fit.
void Fields(SwapCursor& c, std::initializer_list<int> widths)
{
    int64_t at = 0;
    for (int w : widths) {
        if (!(w == 2 ? c.Word(at) : c.Long(at))) return;
        at += w;
    }
}

void Apply(const TypeRule& r, uint8_t direction, int32_t size, uint8_t* p)
{
    const bool reading = direction == kSwapReading;
    SwapCursor c(p, size, reading);
    switch (r.rule) {
    case Rule::Longs: ASI_ByteSwapLONGS(p, size); break;
    case Rule::Words: ASI_ByteSwapWORDS(p, size); break;
    case Rule::PictureHeader: Fields(c, {2, 2, 2, 2, 2}); break;
    case Rule::FirstLong: Fields(c, {4}); break;
    case Rule::Cdqz: Fields(c, {4, 4, 2, 4}); break;
    case Rule::Template:
        if (r.type == FourCC("PRQz") && size < 10) break;
        c.Template(r.templ, 0, size);
        break;
    case Rule::Records:
        for (int64_t at = 0; at + r.recordSize <= size; at += r.recordSize)
            if (!c.Template(r.templ, at, r.recordSize, true)) break;
        break;
    case Rule::Dedicated: r.routine(direction, size, p); break;
    case Rule::Known: break;
    }
}

uint32_t Convert(uint8_t needed, uint32_t type, int32_t size, void* contents, uint8_t direction)
{
    errSwap = 0;
    if (!needed) return 1;
    if (size < 0 || (size > 0 && !contents)) return 0;
    auto* p = static_cast<uint8_t*>(contents);
    if (const TypeRule* r = FindRule(type)) {
        Apply(*r, direction, size, p);
        return 1;
    }
    const uint8_t first = uint8_t(type >> 24);
    const uint8_t second = uint8_t(type >> 16);
    if (first == 'Q' && second == 'T') {
        SwapQuickTimeSettings(kSwapReading, size, p);
        return 1;
    }
    if ((first == 'l' && size == 14) || ((first == 'm' || first == 'x') && size == 8)) {
        ASI_ByteSwapWORDS(p, size);
        return 1;
    }
    if (first == 'f' && size == 48) {
        SwapCursor(p, size, direction == kSwapReading).Template(33, 0, size);
        return 1;
    }
    if (first == 'H' && second == 'E') {
        // A field's documentation: 'H', 'E' and its table's number.
        SwapDoc(direction, size, p);
        return 1;
    }
    if (first == 'F' && second == 'i') {
        // Written only when the contents are exactly one length-prefixed string.
        if (direction == kSwapReading || (size > 0 && p[0] + 1 == size)) return 1;
    }
    return 0;
}

}  // namespace

uint32_t SwapResource(uint8_t needed, uint32_t type, int32_t size, void* contents)
{
    return Convert(needed, type, size, contents, kSwapReading);
}

uint32_t SwapResourceEnvoi(uint8_t needed, uint32_t type, int32_t size, void* contents)
{
    return Convert(needed, type, size, contents, kSwapWriting);
}
