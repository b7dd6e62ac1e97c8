// The toolbox's one object for questions about the machine and the running
// program: ticks and dates, mouse and modifiers, screens, the system
// version, fonts, number and time punctuation, click counting and the file
// kind table. Made once at start-up and reached through gSystem.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VArrayBoolean.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VPoint.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/VClic.h"

class VString;
class VFile;
class VGetFileDialogFilter;
class VTSMTEDoc;

constexpr uint32_t kAnyFileKind = 0x3F3F3F3F;  // '????'
// The system version this program reports: Mac OS X 10.5, the last one
// whose branches the toolbox takes.
constexpr uint32_t kSystemVersion = 0x1050;


// The 'itl0' bytes read at construction, when the resource exists.
struct SystemIntlBytes {
    const uint8_t* data = nullptr;
    int32_t size = 0;
};

class VSystem : public VObject {
public:
    VSystem();
    ~VSystem() override;
    VSystem(const VSystem&) = delete;
    VSystem& operator=(const VSystem&) = delete;

    // Kinds. A kind is found in the first row whose column equals it.
    uint32_t GetMacKindFromVirtualKind(uint32_t kind) const;
    uint32_t GetWinKindFromVirtualKind(uint32_t kind) const;
    uint32_t GetVirtualKindFromWinKind(uint32_t winKind) const;
    // For 'TEXT' with a name, the row of the name's extension when its
    // template flag equals templ, else 'TEXT'.
    uint32_t GetVirtualKindFromMacKind(uint32_t macKind, bool templ, const VString* name) const;
    bool IsValidFileKind(uint32_t kind) const;
    bool IsTemplateFileKind(uint32_t kind) const;
    // The row of kind; a new row when it is not registered yet.
    int32_t AddFileKind(uint32_t kind, uint32_t winKind, uint32_t macKind);
    uint32_t AddTemporaryMacKind(uint32_t macKind);
    uint32_t AddTemporaryWinKind(uint32_t winKind);
    // -1 when the kind is not registered, else 0.
    int32_t RemoveTemporaryFileKind(uint32_t kind);
    static void AdjustWinKind(uint32_t& winKind);
    static uint32_t GetWinKindFromExtension(const VString& name);
    // Reads the 'FMAP' resources of the toolbox resource file, then ends
    // the table with its terminating row.
    void BuildKindList();
    int32_t CountKinds() const { return fVirtualKinds.GetCount(); }

    // Time, input, screens.
    static uint32_t GetCurrentTicks();
    static uint32_t GetDblClicTicks();
    static int32_t GetTipsDelay() { return 30; }
    // Year, month, day, weekday (0 Sunday), hour, minute, second, 0.
    static void GetCurrentDateTime(int16_t date[8]);
    static int16_t Random(int16_t min, int16_t max);
    static bool GetShiftKey();
    static bool GetAltKey();
    static bool GetCtrlKey();  // the Command key
    static void GetMousePosition(int32_t& x, int32_t& y);
    bool GetMouseButton(bool still) const;
    bool GetLeftButton(bool still) const;
    bool GetRightButton(bool still) const;
    // The click count of a button-down click (1 single, 2 double...); 0
    // for a button-up click.
    int32_t RegisterClic(const VClic& clic);
    static int32_t GetMenuBarHeight(bool fixed);
    static void GetAppRect(VRect& rect);
    // The screen that overlaps rect most; the main screen when none does.
    static void GetDeviceContaining(const VRect& rect, VRect& device);
    static int32_t GetScreenWidth(const VPoint* point = nullptr);
    static int32_t GetScreenHeight(const VPoint* point = nullptr);
    static int16_t MacGetSysFontSize();

    // System, fonts, texts.
    static uint32_t GetVersion();
    void BuildFontList();
    const VArrayString& GetFontList(bool = false) const { return fFontNames; }
    const VArrayString& GetATSFontList() const { return fATSFontNames; }
    int16_t MacGetFontNum(const VString& name) const;
    void MacGetFontName(int16_t number, VString& name) const;
    void GetBoolString(VString& text, bool value);
    static void Alert(const VString& message);
    // A new file for the running program, or the file chosen in the open
    // dialog; the caller owns it. Null when the files layer cannot tell or
    // the dialog is cancelled or cannot run.
    static VFile* GetAppFile();
    static VFile* RunGetFileDialog(VGetFileDialogFilter* filter, VArrayListPtrOf<VFile*>* files);

    char16_t GetDecimalSeparator() const { return fDecimal; }
    char16_t GetThousandSeparator() const { return fThousand; }
    char16_t GetDateSeparator() const { return fDateSep; }
    char16_t GetTimeSeparator() const { return fTimeSep; }
    const VStr<8>& GetMorningSuffix() const { return fMorning; }
    const VStr<8>& GetEveningSuffix() const { return fEvening; }
    int32_t GetDateOrder() const { return fDateOrder; }
    bool GetTimeCycleNot0() const { return fCycleNot0; }
    bool GetTimeCycleNot1() const { return fCycleNot1; }

    // Reads the punctuation from 'itl0' bytes (none: the built-in ones).
    void ReadIntlSettings(SystemIntlBytes bytes);

    static uint32_t sVersion;

    // The text-services document held for the object's whole life; null
    // when the views layer did not install its maker.
    VTSMTEDoc* GetTextServicesDoc() const { return fTSMDoc; }

private:
    int32_t FindRow(const VArrayLong& column, uint32_t value, int32_t from = 1) const;
    void AppendRow(uint32_t kind, uint32_t macKind, uint32_t winKind, bool templ);
    uint32_t MakeTemporaryKind() const;

    VArrayLong fVirtualKinds;
    VArrayLong fMacKinds;
    VArrayLong fWinKinds;
    VArrayBoolean fTemplateFlags;
    VArrayString fFontNames;
    VArrayString fATSFontNames;
    VArrayString fHiddenFontNames;
    VArrayWord fFontNumbers;
    VArrayWord fHiddenFontNumbers;
    int32_t fLastH = -32000;
    int32_t fLastV = -32000;
    uint32_t fLastTicks = 0;
    int32_t fClicCount = 0;
    char16_t fDecimal = u'.';
    char16_t fThousand = u',';
    char16_t fDateSep = u'/';
    char16_t fTimeSep = u':';
    VStr<8> fMorning;
    VStr<8> fEvening;
    VStr<15> fFalseText;
    VStr<15> fTrueText;
    bool fCycleNot0 = true;
    bool fCycleNot1 = true;
    int32_t fDateOrder = 0;
    VTSMTEDoc* fTSMDoc = nullptr;
};

extern VSystem* gSystem;

// The font families of the machine, visited by BuildFontList: the
// platform's font families until another lister is installed (null puts
// the platform's back).
struct FontFamilyVisit {
    const unsigned char* quickDrawName;  // length-prefixed
    const unsigned char* atsName;        // length-prefixed
    int16_t number;
};
using FontFamilyLister = void (*)(void (*visit)(const FontFamilyVisit& family, void* context), void* context);
void SetFontFamilyLister(FontFamilyLister lister);
// How the system font size and the names of unlisted numbers are had.
using FontNameProc = void (*)(int16_t number, unsigned char* name);
void SetFontNameProc(FontNameProc proc);

// Files and the open dialog are the files layer's, which installs them.
struct VSystemFileServices {
    VFile* (*getAppFile)() = nullptr;
    VFile* (*runGetFileDialog)(VGetFileDialogFilter* filter, VArrayListPtrOf<VFile*>* files) = nullptr;
};
void SetSystemFileServices(const VSystemFileServices& services);

// The text-services document is the views layer's, which installs how it
// is made (given the byte 0) and released.
struct VTextServicesDocMakers {
    VTSMTEDoc* (*make)(uint8_t flag) = nullptr;
    void (*dispose)(VTSMTEDoc* doc) = nullptr;
};
void SetTextServicesDocMakers(const VTextServicesDocMakers& makers);
