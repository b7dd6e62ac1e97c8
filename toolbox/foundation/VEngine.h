// The toolbox's bridge to its host: every host service is reached through
// the host entry gCallQz with a selector and a parameter block. Each call
// fills a fresh block, so every field a caller does not set is zero.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/HostParm.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"

class VString;
class VValue;
class VResourceFile;
class VDesignResFile;
class VKeyboardSettings;
class VKeyboardSettingsV2;
class VQzEvent;
class VDialQz;
class VImageData;

// The host entry; null until an engine is made and again once the engine
// that installed it is gone.
extern HostEntryProc gCallQz;

// Further selectors of the host entry sent by the toolbox (those the
// host serves are beside the parameter block).
constexpr int16_t kSelPutTaskToSleep = -89;
constexpr int16_t kSelCurrentTaskID = -91;
constexpr int16_t kSelGiveHandCounted = -93;
constexpr int16_t kSelGiveHandOnce = -122;
constexpr int16_t kSelWNEDeTrap = -143;
constexpr int16_t kSelWNEReTrap = -144;
constexpr int16_t kSelWNETaskDeTrap = -147;
constexpr int16_t kSelWNETaskReTrap = -148;
constexpr int16_t kSelGetCurrentLook = -164;
constexpr int16_t kSelAlert = -249;
constexpr int16_t kSelCreateTip = -305;
constexpr int16_t kSelSetNextWindowLevel = -357;
constexpr int16_t kSelAsk = -407;
constexpr int16_t kSelSetWindowFocusable = -418;
constexpr int16_t kSelProcessPostQzEvent = -560;
constexpr int16_t kSelGetCurrentQzEvent = -561;
constexpr int16_t kSelGetPriorityTask = -567;
constexpr int16_t kSelReadKeybordMapping = -591;
constexpr int16_t kSelWriteKeybordMapping = -592;
constexpr int16_t kSelReadKeybordMappingV2 = -598;
constexpr int16_t kSelDisposeKeybordMappingV2 = -599;

// The engine's resource files are classes of the drawing layer, which
// installs how they are made: the host's current file (searching every
// open file), the design file, and how the host file becomes the toolbox
// resource file gResFile. Without makers the engine holds none.
struct VEngineResFileMakers {
    VResourceFile* (*makeHostFile)(int16_t fileRef) = nullptr;
    VDesignResFile* (*makeDesignFile)() = nullptr;
    void (*disposeHostFile)(VResourceFile* file) = nullptr;
    void (*disposeDesignFile)(VDesignResFile* file) = nullptr;
    void (*makeToolboxFile)(VResourceFile* hostFile) = nullptr;
};
void SetEngineResFileMakers(const VEngineResFileMakers& makers);

// The dialog objects, owned by the list. Dialogs belong to the views
// layer, which installs how the list is made and deleted; without them
// the engine keeps no list.
using VDialQzList = VArrayListPtrOf<VDialQz*>;
extern VDialQzList* gVDialQzList;
struct VDialQzListMakers {
    VDialQzList* (*make)() = nullptr;
    void (*dispose)(VDialQzList* list) = nullptr;
};
void SetDialQzListMakers(const VDialQzListMakers& makers);

// What the engine reads of an image value of the drawing layer: its
// picture handle (null when none), its image kind, and how it gives its
// handle up to the caller.
constexpr int32_t kImageKindPicture = 1;
struct VImageDataAccess {
    platform::Handle (*getPicture)(const VImageData& image) = nullptr;
    int32_t (*getImageKind)(const VImageData& image) = nullptr;
    platform::Handle (*detachPicture)(VImageData& image) = nullptr;
};
void SetImageDataAccess(const VImageDataAccess& access);

// Where the frame of a tip is: its left and top in its window and its
// size. Frames belong to the views layer, which installs the procedure.
class VFrame;
using FrameInWindowProc = void (*)(const VFrame& frame, int32_t& x, int32_t& y, int32_t& width, int32_t& height);
void SetFrameInWindowProc(FrameInWindowProc proc);

// A host text block: a byte count, then a handle of the text.
struct TextBlock {
    int16_t length = 0;
    char** text = nullptr;
};

// Scope of an engine variable name.
enum EngineVarRange : int16_t {
    kVarLocal = 0,
    kVarProcess = 1,
    kVarInterprocess = 2,
    kVarDecideFromName = 10,
};

// Scope of the variable name `src` (length-prefixed Mac text). With
// kVarDecideFromName the prefix decides: 0xD7 or "<>" interprocess, "$"
// local, anything else process; dst receives the name without its prefix
// (dst may be src). Any other range is returned as it is, the name whole.
int16_t SetVarName(unsigned char* dst, const unsigned char* src, int16_t range);

class VEngine : public VObject {
public:
    explicit VEngine(HostEntryProc entry);
    ~VEngine() override;

    // Asks the host for its state again: the option flags, the two names,
    // a new host resource file (made the toolbox resource file) and a new
    // design resource file.
    void Reset();
    VDesignResFile* GetDesignResFile() const { return fDesignResFile; }
    VResourceFile* GetHostResFile() const { return fHostResFile; }
    bool GetFlag(int32_t n) const { return n >= 0 && n < 5 && fFlags[n] != 0; }
    int32_t GetHostValue() const { return fHostValue; }
    const VStr<255>& GetFirstName() const { return fFirstName; }
    const VStr<255>& GetSecondName() const { return fSecondName; }

    // Compresses srcLen bytes into dst (which holds at least srcLen bytes)
    // with the method (1 LZRW3-A, other values the -lh5- coder). The
    // compressed length, or 0 when compression gains nothing or memory ran
    // out: the caller then stores the block as it is.
    static int32_t Compress(int32_t method, const void* src, int32_t srcLen, void* dst);
    // Expands a block of srcLen bytes into dst of dstSize bytes. The bytes
    // written; 0 when memory ran out; negative when the block is damaged.
    static int32_t Decompress(int32_t method, const void* src, int32_t srcLen, void* dst,
                              int32_t dstSize);

    // The text evaluated as a time of day by the host (seconds); 0 without
    // a host.
    static int32_t EvalTime(const VString& text);
    // The host's text of the real under the format (at most 80 characters;
    // empty for the default form). Without a host, the toolbox's own text.
    static void FormatReal(double value, const VString& format, VString& text);
    // The host's two-digit-year window: first the pivot, second the century
    // (pivot 0: this century). Without a host both are the kernel's values
    // when it has installed them, else 0. Answers 0.
    static int32_t GetCenturyInfo(int32_t& first, int32_t& second);

    // Tasks. Task 0 is the current task.
    static void PutTaskToSleep(int32_t duration, int32_t task);
    static int32_t CurrentTaskID();
    // Hands the processor to the host count times (at least once).
    static void GiveHand(int32_t count);
    static int32_t GetFreeStack(int32_t task);
    static int16_t GetPriorityTask();
    static int32_t WNEDeTrap();
    static int32_t WNEReTrap();
    static int32_t WNETaskDeTrap();
    static int32_t WNETaskReTrap();

    // Windows, looks, messages.
    static int32_t CreateTip(const VString& text, const VFrame& frame, const platform::Point* where);
    static int32_t SetNextWindowLevel(int16_t level);
    static int32_t SetWindowFocusable(void* nativeWindow, bool focusable);
    static int32_t GetCurrentLook();
    static int32_t Alert(const VString& text);
    // Asks the user for a value; true when accepted, the value then set
    // from the answer. Titles may be null. With prefill the answer starts
    // as the value's text.
    static bool Ask(const VString& prompt, VValue& value, const VString* okTitle, const VString* cancelTitle,
                    bool prefill);

    // Events of the host.
    static int32_t ProcessPostQzEvent(VQzEvent* event, int32_t argument);
    static VQzEvent* GetCurrentQzEvent();

    // The host's keyboard tables.
    static VKeyboardSettings* ReadKeybordMapping();
    static int16_t WriteKeybordMapping(VKeyboardSettingsV2* settings);
    static int16_t ReadKeybordMappingV2(char**& stored);
    static int16_t DisposeKeybordMappingV2(char** stored);

    // Fills a host text block from the string, as Mac text of at most
    // 32000 bytes; a count of 0 when no handle can be had.
    static void FillTextBlock(const VString& text, TextBlock& block);

    // The picture of an image value of picture kind, else null. With copy
    // a copy the caller owns; without, the value's own handle, which the
    // value gives up. The last flag is not used.
    static platform::Handle GetMacPicture(VImageData& image, bool copy, bool flag);

private:
    void DisposeFiles();
    static void RenewDialQzList();

    HostEntryProc fEntry = nullptr;
    uint8_t fFlags[5] = {};
    int32_t fHostValue = 0;
    VStr<255> fFirstName;
    VStr<255> fSecondName;
    VResourceFile* fHostResFile = nullptr;
    VDesignResFile* fDesignResFile = nullptr;
};

extern VEngine* gEngine;
