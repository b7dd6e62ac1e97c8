// The system scrap: the one clipboard, holding data in flavours. Its
// reference is a serial number, new at every clear and at every change made
// by another program, so a holder of an old reference always sees that the
// clipboard changed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

struct OpaqueScrapRef;
using ScrapRef = OpaqueScrapRef*;
using ScrapFlavorType = OSType;
using ScrapFlavorFlags = uint32_t;

enum : ScrapFlavorFlags {
    kScrapFlavorMaskNone = 0,
    kScrapFlavorMaskSenderOnly = 1,
    kScrapFlavorMaskTranslated = 2,
};

constexpr OSStatus internalScrapErr = -4988;
constexpr OSStatus duplicateScrapFlavorErr = -4989;
constexpr OSStatus badScrapRefErr = -4990;
constexpr OSStatus noScrapErr = -100;
constexpr OSStatus noTypeErr = -102;

// The clipboard as it stands now: takes any change from outside first.
OSStatus GetCurrentScrap(ScrapRef* scrap);
// Empties the clipboard; the reference changes.
OSStatus ClearCurrentScrap();
// Adds a flavour to the current scrap (badScrapRefErr for an old reference,
// duplicateScrapFlavorErr when the flavour is there, paramErr for a
// negative size or missing data).
OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType type, ScrapFlavorFlags flags, Size size, const void* data);
OSStatus GetScrapFlavorFlags(ScrapRef scrap, ScrapFlavorType type, ScrapFlavorFlags* flags);
// noTypeErr and size 0 for an absent flavour.
OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType type, Size* size);
// *size in: room in `data`; out: the bytes given (at most the room).
OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType type, Size* size, void* data);
OSStatus GetScrapFlavorCount(ScrapRef scrap, uint32_t* count);

// Another program put text on the system clipboard (UTF-8; LF, CR LF or CR
// each end one line): the scrap is replaced by 'TEXT' (Mac Roman, CR) and
// 'utxt' (UTF-16, big-endian, CR) with a new reference.
void ExternalClipboardChanged(const std::string& utf8);
// How many characters of another program's text the scrap's 'TEXT' holds
// as "?" because Mac Roman lacks them; 0 for text the program put.
int32_t ScrapTextSubstitutes(ScrapRef scrap);
// The program's word to the user after a paste into a text it keeps put
// "?" for characters Mac Roman lacks: the text editors call it, the
// program installs it. None by default.
void SetSubstitutedPasteNotice(void (*notice)());
void NoticeSubstitutedPaste();

// The system clipboard of the live backend. While a bridge is installed,
// GetCurrentScrap asks it whether the clipboard changed, and putting text
// on the scrap hands it over.
class ClipboardBridge {
public:
    virtual ~ClipboardBridge() = default;
    // True with the text when the system clipboard changed since last asked
    // (not counting our own puts).
    virtual bool TakeChange(std::string* utf8) = 0;
    virtual void Put(const std::string& utf8) = 0;
};
void SetClipboardBridge(ClipboardBridge* bridge);

// Forgets everything (tests).
void ResetScrap();

}  // namespace platform
