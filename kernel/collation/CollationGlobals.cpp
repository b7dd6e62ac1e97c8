#include "kernel/collation/CollationGlobals.h"

#include "kernel/collation/CollationTables.h"
#include "kernel/collation/CustRecord.h"

uint8_t scriptmanager = 0;
uint8_t specialjapon = 0;
uint8_t specialKoree = 0;
uint8_t nouveaucomp = 0;
int16_t curtric = 0;
uint8_t strcmpbehavior = 0;
uint16_t wildchar = '@';
uint8_t testcompilo_relstr = 0;
int16_t lz3 = 0;
int64_t gGlobalTableBase = 0;
int64_t gProcessTableBase = 0;

uint8_t tabfiltre[256];
uint8_t tabfiltre2[256];
uint8_t tabfiltre3[256];
uint8_t tabvalue[256];
uint8_t tabmaj[256];
uint8_t tabmajnodiac[256];

platform::Handle Jtabletri = nullptr;
platform::Handle Jtablecomp = nullptr;
platform::Handle Jtablekana1 = nullptr;

int16_t CollationSelector() { return CustWord(kCustCollation); }

void ResetCollation()
{
    scriptmanager = specialjapon = specialKoree = nouveaucomp = 0;
    curtric = 0;
    strcmpbehavior = 0;
    wildchar = '@';
    testcompilo_relstr = 0;
    lz3 = 0;
    gGlobalTableBase = gProcessTableBase = 0;
    Jtabletri = Jtablecomp = Jtablekana1 = nullptr;
    DisposeCust();
    BuildSystemTables();
}

namespace {
// Comparisons work before start-up has run.
struct Defaults {
    Defaults() { BuildSystemTables(); }
} gDefaults;
}  // namespace
