// High-level events inside the process: descriptors, lists, events with
// parameters and attributes, and the handlers the program installs for the
// open-application, open-documents, print-documents and quit events.
//
// Descriptors live in this process only. File items are kept as paths:
// AEGetNthPtr and AEGetParamPtr give 'fss ' into an FSSpec and 'fsrf' into
// an FSRef (the data pointer names that object; the size must be at least
// its size), and 'TEXT' as the path's UTF-8 bytes.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/events/Events.h"

namespace platform {

using DescType = OSType;
using AEKeyword = OSType;
using AEEventClass = OSType;
using AEEventID = OSType;

struct AEDescData;
struct AEDesc {
    DescType descriptorType = 0;
    AEDescData* dataHandle = nullptr;
};
using AEDescList = AEDesc;
using AERecord = AEDesc;
using AppleEvent = AEDesc;

constexpr DescType typeNull = 0x6E756C6C;          // 'null'
constexpr DescType typeWildCard = 0x2A2A2A2A;      // '****'
constexpr DescType typeAEList = 0x6C697374;        // 'list'
constexpr DescType typeAERecord = 0x7265636F;      // 'reco'
constexpr DescType typeAppleEvent = 0x61657674;    // 'aevt'
constexpr DescType typeFSS = 0x66737320;           // 'fss '
constexpr DescType typeFSRef = 0x66737266;         // 'fsrf'
constexpr DescType typeChar = 0x54455854;          // 'TEXT'
constexpr DescType typeType = 0x74797065;          // 'type'
constexpr DescType typeKeyword = 0x6B657977;       // 'keyw'
constexpr AEKeyword keyDirectObject = 0x2D2D2D2D;  // '----'
constexpr AEKeyword keyMissedKeywordAttr = 0x6D697373;  // 'miss'
constexpr AEKeyword keyEventClassAttr = 0x6576636C;     // 'evcl'
constexpr AEKeyword keyEventIDAttr = 0x65766964;        // 'evid'

constexpr OSErr errAECoercionFail = -1700;
constexpr OSErr errAEDescNotFound = -1701;
constexpr OSErr errAECorruptData = -1702;
constexpr OSErr errAEWrongDataType = -1703;
constexpr OSErr errAENotAEDesc = -1704;
constexpr OSErr errAEBadListItem = -1705;
constexpr OSErr errAEEventNotHandled = -1708;
constexpr OSErr errAEParamMissed = -1715;
constexpr OSErr errAEHandlerNotFound = -1717;

using AEEventHandlerProcPtr = OSErr (*)(const AppleEvent* event, AppleEvent* reply, uintptr_t refCon);
using AEEventHandlerUPP = AEEventHandlerProcPtr;
inline AEEventHandlerUPP NewAEEventHandlerUPP(AEEventHandlerProcPtr proc) { return proc; }
inline void DisposeAEEventHandlerUPP(AEEventHandlerUPP) {}

// Descriptors.
OSErr AECreateDesc(DescType type, const void* data, Size size, AEDesc* result);
OSErr AEDisposeDesc(AEDesc* desc);
OSErr AEDuplicateDesc(const AEDesc* desc, AEDesc* result);
// The bytes of a plain descriptor.
Size AEGetDescDataSize(const AEDesc* desc);
OSErr AEGetDescData(const AEDesc* desc, void* data, Size maxSize);

// Lists and records. Factoring is not used (the arguments are taken for
// their classic places only).
OSErr AECreateList(const void* factoringPtr, Size factoredSize, Boolean isRecord, AEDescList* result);
OSErr AECountItems(const AEDescList* list, int32_t* count);
// index 0 or count + 1 appends; 1..count replaces.
OSErr AEPutPtr(AEDescList* list, int32_t index, DescType type, const void* data, Size size);
OSErr AEPutDesc(AEDescList* list, int32_t index, const AEDesc* desc);
OSErr AEGetNthPtr(const AEDescList* list, int32_t index, DescType desiredType, AEKeyword* keyword,
                  DescType* typeCode, void* data, Size maxSize, Size* actualSize);
OSErr AEGetNthDesc(const AEDescList* list, int32_t index, DescType desiredType, AEKeyword* keyword,
                   AEDesc* result);

// Events.
OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, AppleEvent* result);
OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType type, const void* data, Size size);
// Reading a parameter marks it read; errAEDescNotFound when absent.
OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result);
OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                    void* data, Size maxSize, Size* actualSize);
// 'evcl' and 'evid' give the class and kind ('type'); 'miss' gives the
// first parameter not read yet ('keyw'), or errAEDescNotFound when every
// one was read.
OSErr AEGetAttributePtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                        void* data, Size maxSize, Size* actualSize);

// Handlers, by class and kind ('****' matches any).
OSErr AEInstallEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                            uintptr_t refCon, Boolean isSysHandler);
OSErr AERemoveEventHandler(AEEventClass eventClass, AEEventID eventID, AEEventHandlerUPP handler,
                           Boolean isSysHandler);
// Runs the handler of the high-level event just taken from the queue:
// errAEEventNotHandled when none is installed, else the handler's answer.
OSErr AEProcessAppleEvent(const EventRecord* event);

// Forgets every handler (tests).
void ResetAppleEvents();

}  // namespace platform
