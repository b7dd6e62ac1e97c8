#include <algorithm>
#include <cstring>

#include <sys/stat.h>

#include "kernel/handles/KernelHandles.h"
#include "kernel/helpers/KernelColors.h"
#include "kernel/helpers/KernelDialogs.h"
#include "kernel/helpers/ResourceStrings.h"
#include "kernel/numtext/NumberBridge.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/startup/StartupServices.h"
#include "kernel/startup/XmlPlatform.h"
#include "kernel/tasks/TaskRecords.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/ScriptManager.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/system/VSystem.h"

using platform::FourCC;
using platform::Handle;

Handle safemem = nullptr;
Handle safeerr = nullptr;
int16_t applres = 0;
Handle layo = nullptr;
Handle hLook = nullptr;
int16_t undefint = 0;
int32_t undeflong = 0;
uint32_t doubleclick = 0;
uint32_t progvers = 0, xxmaxnum = 0, xxminnum = 0;

uint32_t taband[33];
uint32_t tabhigh[32];
unsigned char macQzXFolder[35], winQzXFolder[35];
int16_t nbfonc = 0, nboper = 0, nbchoper = 0;
int16_t myfont = 0, mybigsize = 0, mysmalsize = 0, mymessfont = 0, mymesssize = 0;
int16_t hch9 = 0, lch9 = 0, hch12 = 0, lch12 = 0;
uint8_t quitglobal = 0, tacheflushcache = 0, enback = 0, firstwind = 0;
uint8_t okwaitres = 0, interruptible = 0, signalerr = 0, impferme = 0, doisflush = 0, original = 0,
        doisinitcurs = 0, peutfauxtab = 0;
unsigned char stseparateur[256], stfileleft[256], stfileright[256], stdate[256], stguill[256], stsousfile[256],
    stleftpar[256], strightpar[256], starrayleft[256], starrayright[256], stcomment[256], stlocalvar[256],
    sterror[256], starray[256], stassigne[256], stplus[256], stmoins[256], stmultiplie[256], stdivise[256],
    stpower[256], stinf[256], stsup[256], stegal[256], stfourche[256], stdif[256], stet[256], stou[256],
    stinfegal[256], stsupegal[256], sthomothoriz[256], sthomotverti[256], stpointeur[256], ststringleft[256],
    ststringright[256], stdivent[256], stmodulo[256], sttime[256], sttokenext[256], stglobglob[256], stxor[256],
    stnot[256], stshiftright[256], stshiftleft[256], stbitset[256], stbitclear[256], stbittest[256];
uint8_t cvtStruct[kCvtStructSize];
uint8_t gUseSystemEncoding = 0;
platform::Rect rectvide = {0, 0, 0, 0};
platform::Pattern patterntable[kPatternTableSize];
platform::PolyHandle triangleleft = nullptr, triangleup = nullptr;
VArrayString* gRollBackArrayFile = nullptr;
std::thread::id gMainThreadID;
int32_t webconnecttime = 0;
uint8_t webgenericuser = 0, webgenericpassword = 0, webparsevars = 0, webcache = 0;

namespace {

KernelStartupServices gServices;

constexpr int32_t kSafeMemSize = 64000;
constexpr int32_t kSafeErrSize = 10000;
constexpr int16_t kMainTaskNameList = 1007;
constexpr int16_t kMainTaskNameItem = 9;
constexpr int16_t kExtFolderList = 10135;
constexpr int16_t kFunctionList = 8;
constexpr int16_t kOperatorList = 104;
constexpr int16_t kWildcardList = 106;
constexpr uint8_t kLookMacOSX = 5;
constexpr int16_t kSettingsId = 128;
constexpr int16_t kJapaneseScript = 1;

// The item count of a 'STR#' of the chain; 0 when it is missing or short.
int16_t ListCount(int16_t id)
{
    Handle h = platform::GetResource(FourCC("STR#"), id);
    if (!h || platform::GetHandleSize(h) < 2) return 0;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::max<int16_t>(0, int16_t((p[0] << 8) | p[1]));
}

int16_t LayoWord(int32_t i)
{
    const auto* p = reinterpret_cast<const uint8_t*>(*layo);
    return int16_t((p[2 * i] << 8) | p[2 * i + 1]);
}

void SetLayoWord(int32_t i, int16_t v)
{
    auto* p = reinterpret_cast<uint8_t*>(*layo);
    p[2 * i] = uint8_t(uint16_t(v) >> 8);
    p[2 * i + 1] = uint8_t(v);
}

}  // namespace

void LoadTokenStrings()
{
    struct Token {
        unsigned char* global;
        int16_t list, item;
    };
    const Token tokens[] = {
        {stseparateur, 104, 1},  {stfileleft, 104, 2},    {stfileright, 104, 3},   {stdate, 104, 4},
        {stguill, 104, 5},       {stsousfile, 104, 6},    {stleftpar, 104, 7},     {strightpar, 104, 8},
        {starrayleft, 104, 9},   {starrayright, 104, 10}, {stcomment, 104, 11},    {stlocalvar, 104, 12},
        {sterror, 104, 13},      {starray, 104, 14},      {stassigne, 104, 15},    {stplus, 104, 16},
        {stmoins, 104, 17},      {stmultiplie, 104, 18},  {stdivise, 104, 19},     {stpower, 104, 20},
        {stinf, 104, 21},        {stsup, 104, 22},        {stegal, 104, 23},       {stfourche, 104, 24},
        {stdif, 104, 25},        {stet, 104, 26},         {stou, 104, 27},         {stinfegal, 104, 28},
        {stsupegal, 104, 29},    {sthomothoriz, 104, 30}, {sthomotverti, 104, 31}, {stpointeur, 404, 8},
        {ststringleft, 104, 33}, {ststringright, 104, 34}, {stdivent, 104, 35},    {stmodulo, 104, 36},
        {sttime, 104, 37},       {sttokenext, 104, 38},   {stglobglob, 104, 39},   {stxor, 404, 1},
        {stnot, 404, 2},         {stshiftright, 404, 3},  {stshiftleft, 404, 4},   {stbitset, 404, 5},
        {stbitclear, 404, 6},    {stbittest, 404, 7},
    };
    for (const Token& t : tokens) gs(t.global, t.list, t.item);
    unsigned char wild[256];
    gs(wild, kWildcardList, 3);
    if (wild[0] > 0) wildchar = wild[1];
}

namespace {

// Line height and widest character of the interface font at its small and
// big sizes, measured in a scratch port so that no port changes.
void MeasureInterfaceFonts()
{
    platform::GrafPtr saved = platform::GetQDGlobalsThePort();
    platform::CGrafPtr scratch = platform::CreateNewPort();
    if (!scratch) return;
    platform::SetPort(scratch);
    platform::TextFont(myfont);
    auto measure = [](int16_t size, int16_t* height, int16_t* widest) {
        platform::TextSize(size);
        platform::FontInfo info{};
        platform::GetFontInfo(&info);
        *height = int16_t(info.ascent + info.descent + info.leading);
        *widest = info.widMax;
    };
    measure(mysmalsize, &hch9, &lch9);
    measure(mybigsize, &hch12, &lch12);
    platform::DisposePort(scratch);
    platform::SetPort(saved);
}

void MakeMaskTables()
{
    taband[0] = 0xFFFFFFFFu;
    for (int k = 31; k >= 1; --k) taband[32 - k] = (1u << k) - 1;
    taband[32] = 0;
    for (int k = 1; k <= 32; ++k) tabhigh[k - 1] = k == 32 ? 0xFFFFFFFFu : ~((1u << (32 - k)) - 1);
}

// A polygon through the points (h, v), closed back to the first. Recorded
// in a scratch port of its own, so that nothing is drawn.
platform::PolyHandle MakeClosedPoly(const platform::Point* points, int32_t count)
{
    platform::GrafPtr saved = platform::GetQDGlobalsThePort();
    platform::CGrafPtr scratch = platform::CreateNewPort();
    if (!scratch) return nullptr;
    platform::SetPort(scratch);
    platform::PolyHandle poly = platform::OpenPoly();
    if (poly) {
        platform::MoveTo(points[0].h, points[0].v);
        for (int32_t i = 1; i < count; ++i) platform::LineTo(points[i].h, points[i].v);
        platform::LineTo(points[0].h, points[0].v);
        platform::ClosePoly();
        if (platform::PolyPointCount(poly) != count + 1) {
            platform::KillPoly(poly);
            poly = nullptr;
        }
    }
    platform::SetPort(saved);
    platform::DisposePort(scratch);
    return poly;
}

void MakePatternsAndTriangles()
{
    for (int16_t i = 0; i < kPatternTableSize; ++i)
        platform::GetIndPattern(&patterntable[i], platform::sysPatListID, int16_t(i + 1));
    platform::KillPoly(triangleleft);
    platform::KillPoly(triangleup);
    // Points as (v, h).
    const platform::Point left[3] = {{5, 0}, {0, 5}, {10, 5}};
    const platform::Point up[3] = {{5, 0}, {0, 5}, {5, 10}};
    triangleleft = MakeClosedPoly(left, 3);
    triangleup = MakeClosedPoly(up, 3);
}

}  // namespace

void ReadConversionSettings()
{
    std::memset(cvtStruct, 0, sizeof cvtStruct);
    gUseSystemEncoding = 0;
    Handle w2mT = platform::GetResource(FourCC("w2mT"), kSettingsId);
    if (w2mT && *w2mT) {
        const platform::Size size = std::min<platform::Size>(platform::GetHandleSize(w2mT), kCvtStructSize);
        if (size > 0) std::memcpy(cvtStruct, *w2mT, size_t(size));
    }
    Handle isla = platform::GetResource(FourCC("ISLA"), kSettingsId);
    if (isla && *isla && platform::GetHandleSize(isla) >= 1) gUseSystemEncoding = (*isla)[0] != 0 ? 1 : 0;
}

void InitScriptFlags()
{
    using namespace platform;
    const int32_t systemScript = GetScriptManagerVariable(smSysScript);
    specialjapon = 0;
    if (systemScript == kJapaneseScript) {
        const uint32_t type = kJapaneseTableType;
        specialjapon = GetResource(type, 0) && GetResource(type, 1) && GetResource(type, 2) ? 1 : 0;
    }
    scriptmanager = GetScriptManagerVariable(smEnabled) > 1 && GetScriptManagerVariable(smDefault) == 0 &&
                            systemScript != smRoman
                        ? 1
                        : 0;
    Handle scrp = GetResource(FourCC("Scrp"), kSettingsId);
    if (scrp && *scrp && GetHandleSize(scrp) == 1) scriptmanager = (*scrp)[0] != 0 ? 1 : 0;
    if (scriptmanager == 0) specialjapon = specialKoree = 0;
    if (specialKoree != 0) specialjapon = 1;
}

void SetKernelStartupServices(const KernelStartupServices& services) { gServices = services; }

const KernelStartupServices& InstalledKernelStartupServices() { return gServices; }

void x_getmachine()
{
    doissetpalette = 1;
    globpalette = nullptr;
}

void getprogvers()
{
    progvers = 0xF0030807;
    xxmaxnum = 0xF0030807;
    xxminnum = 0xF0010805;
}

void initfonc()
{
    nbfonc = ListCount(kFunctionList);
    nboper = nbchoper = ListCount(kOperatorList);
}

void InitExtFolders()
{
    gs(macQzXFolder, kExtFolderList, 1);
    gs(winQzXFolder, kExtFolderList, 2);
    auto fallback = [](unsigned char* name, const char* text) {
        if (name[0] > 34) name[0] = 34;
        if (name[0] != 0) return;
        name[0] = uint8_t(std::strlen(text));
        std::memcpy(name + 1, text, name[0]);
    };
    fallback(macQzXFolder, "MacQzX");
    fallback(winQzXFolder, "WinQzX");
}

void LoadLayout()
{
    if (layo) platform::DisposeHandle(layo);
    layo = nullptr;
    Handle h = platform::GetResource(FourCC("INTQ"), 0);
    if (h) {
        platform::DetachResource(h);
        const platform::Size had = platform::GetHandleSize(h);
        if (had < 2 * kLayoWords) {
            platform::SetHandleSize(h, 2 * kLayoWords);
            if (platform::MemError() == platform::noErr)
                std::memset(*h + had, 0, size_t(2 * kLayoWords - had));
            else {
                platform::DisposeHandle(h);
                h = nullptr;
            }
        }
    }
    // Without the resource every word is zero and gets its default below.
    layo = h ? h : platform::NewHandleClear(2 * kLayoWords);
    if (!layo) return;
    if (LayoWord(0) < 0) SetLayoWord(0, 1);
    if (LayoWord(1) < 1) SetLayoWord(1, 12);
    if (LayoWord(2) < 1) SetLayoWord(2, 9);
    if (LayoWord(3) < 0) SetLayoWord(3, 4);
    if (LayoWord(4) < 1) SetLayoWord(4, 9);
    // This system is the Mac OS X one: words 0-4.
    myfont = LayoWord(0);
    mybigsize = LayoWord(1);
    mysmalsize = LayoWord(2);
    mymessfont = LayoWord(3);
    mymesssize = LayoWord(4);
    // The zero characters of the digit sets, from the low bytes of words
    // 14-16. A zero word keeps the plain digits rather than making bytes
    // 0-9 digits.
    auto zeroOf = [](int16_t word) { return uint16_t(uint8_t(word)); };
    if (zeroOf(LayoWord(14)) != 0) digit1 = zeroOf(LayoWord(14));
    if (zeroOf(LayoWord(15)) != 0) digit2 = zeroOf(LayoWord(15));
    if (zeroOf(LayoWord(16)) != 0) digit3 = zeroOf(LayoWord(16));
}

int16_t MakeWritableByAll(const char* posixPath)
{
    struct stat st;
    if (stat(posixPath, &st) != 0) return platform::fnfErr;
    if (chmod(posixPath, st.st_mode | 0222) != 0) return platform::permErr;
    return 0;
}

void initall()
{
    InitXmlPlatform();
    ResetNumTextGlobals();
    platform::DisposeHandle(hLook);
    hLook = platform::NewHandle(1);
    if (hLook) (*hLook)[0] = char(kLookMacOSX);
    gMainThreadID = std::this_thread::get_id();
    doubleclick = platform::GetDblTime();
    ReadConversionSettings();
    InitRoutineDescriptors();
    InitExtFolders();
    webconnecttime = 18000;
    webgenericuser = webgenericpassword = webparsevars = 1;
    webcache = 0;
    okwaitres = interruptible = signalerr = impferme = doisflush = original = doisinitcurs = peutfauxtab = 1;
    ResetTasks();
    tua = platform::NewHandle(0);
    getprogvers();
    if (gServices.initLooks) gServices.initLooks();
    if (gServices.initBitmapCache) gServices.initBitmapCache();
    rectvide = {0, 0, 0, 0};
    specialKoree = 0;
    InitScriptFlags();
    LoadLayout();
    SetRound(0);
    epsilon = 1e-6;
    initfonc();
    MakePatternsAndTriangles();
    LoadFormatChars();
    MeasureInterfaceFonts();
    LoadTokenStrings();
    MakeMaskTables();
    undefint = 32767;
    undeflong = 2147483647;
    platform::DisposeHandle(safeerr);
    safeerr = platform::NewHandle(kSafeErrSize);
    createur = FourCC("Qz+6");
    // The program's own document kind.
    if (gSystem) gSystem->AddFileKind(FourCC("BASA"), FourCC(".REA"), FourCC("BASA"));
    delete gRollBackArrayFile;
    gRollBackArrayFile = new VArrayString;
    erreure = 0;
}

bool x_initQzGlobals()
{
    quitglobal = tacheflushcache = enback = 0;
    applres = platform::CurResFile();
    platform::DisposeHandle(safemem);
    safemem = platform::NewHandle(kSafeMemSize);
    if (!safemem) {
        erreure = platform::memFullErr;
        return false;
    }
    iscritic = 1;
    x_getmachine();
    if (gServices.readCust) gServices.readCust();
    LoadLayout();
    if (gServices.initResourceManager) gServices.initResourceManager();
    firstwind = 0;
    if (gServices.makeSecurityManager) gServices.makeSecurityManager();
    initall();
    if (!IsXmlPlatformReady() || !hLook || !tua || !safeerr || !layo || !gRollBackArrayFile || !triangleleft ||
        !triangleup) {
        erreure = platform::memFullErr;
        return false;
    }
    unsigned char name[256];
    gs(name, kMainTaskNameList, kMainTaskNameItem);
    return newtask(-1, 1, 0, name, 0, -10) != 0;
}
