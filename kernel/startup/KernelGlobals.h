// The kernel's plain globals with a defined starting value, set by
// x_initQzGlobals and initall.
#pragma once

#include "kernel/collation/CollationGlobals.h"  // wildchar
#include "kernel/formats/FormatChars.h"          // the format characters and decpoint

#include <cstdint>
#include <thread>

#include "kernel/numtext/NumTextGlobals.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

class VArrayString;

extern platform::Handle safemem;  // 64,000-byte reserve
extern platform::Handle safeerr;  // 10,000-byte reserve for error reports
extern int16_t applres;
extern platform::Handle layo;     // 'INTQ' 0, 34 bytes
extern platform::Handle hLook;    // the look byte
extern int16_t undefint;
extern int32_t undeflong;
extern uint32_t doubleclick;
extern uint32_t progvers, xxmaxnum, xxminnum;

extern uint32_t taband[33];       // all ones, then 2^k - 1 for k = 31..1
extern uint32_t tabhigh[32];      // the top k bits set, k = 1..32
extern unsigned char macQzXFolder[35], winQzXFolder[35];
extern int16_t nbfonc, nboper, nbchoper;
extern int16_t myfont, mybigsize, mysmalsize, mymessfont, mymesssize;
// Line height and widest character of the interface font (myfont) at the
// small (mysmalsize) and big (mybigsize) sizes.
extern int16_t hch9, lch9, hch12, lch12;
extern uint8_t quitglobal, tacheflushcache, enback, firstwind;
extern uint8_t okwaitres, interruptible, signalerr, impferme, doisflush, original, doisinitcurs, peutfauxtab;
// Formula-language token strings.
extern unsigned char stseparateur[256], stfileleft[256], stfileright[256], stdate[256], stguill[256],
    stsousfile[256], stleftpar[256], strightpar[256], starrayleft[256], starrayright[256], stcomment[256],
    stlocalvar[256], sterror[256], starray[256], stassigne[256], stplus[256], stmoins[256], stmultiplie[256],
    stdivise[256], stpower[256], stinf[256], stsup[256], stegal[256], stfourche[256], stdif[256], stet[256],
    stou[256], stinfegal[256], stsupegal[256], sthomothoriz[256], sthomotverti[256], stpointeur[256],
    ststringleft[256], ststringright[256], stdivent[256], stmodulo[256], sttime[256], sttokenext[256],
    stglobglob[256], stxor[256], stnot[256], stshiftright[256], stshiftleft[256], stbitset[256], stbitclear[256],
    stbittest[256];
// The conversion settings ('w2mT' 128, zero where the resource is short or
// missing) and whether text follows the system encoding ('ISLA' 128).
constexpr int32_t kCvtStructSize = 60;
extern uint8_t cvtStruct[kCvtStructSize];
extern uint8_t gUseSystemEncoding;
extern platform::Rect rectvide;
// The system pattern list and the two small triangles (pointing left and
// pointing up) that lists and pop-ups draw.
constexpr int32_t kPatternTableSize = 36;
extern platform::Pattern patterntable[kPatternTableSize];
extern platform::PolyHandle triangleleft, triangleup;
extern VArrayString* gRollBackArrayFile;
extern std::thread::id gMainThreadID;
// Web-serving defaults.
extern int32_t webconnecttime;
extern uint8_t webgenericuser, webgenericpassword, webparsevars, webcache;

constexpr int32_t kLayoWords = 17;

// The kernel start-up: every global to its starting value, then the main
// task. False when start-up cannot go on (memory), with erreure set.
bool x_initQzGlobals();
void initall();
// Reads 'INTQ' 0 into layo (34 bytes, missing words zero) and takes the
// interface fonts from it; a missing resource gives the defaults.
void LoadLayout();
// The language's token texts (stplus, stsup...) from 'STR#' 104 and 404.
void LoadTokenStrings();
void InitExtFolders();
void initfonc();
void getprogvers();
void x_getmachine();
// The script flags: scriptmanager, specialjapon and specialKoree from the
// platform's scripts, then 'Scrp' 128 (exactly one byte) overriding
// scriptmanager.
void InitScriptFlags();
// 'w2mT' 128 into cvtStruct and 'ISLA' 128 into gUseSystemEncoding.
void ReadConversionSettings();
int16_t MakeWritableByAll(const char* posixPath);
