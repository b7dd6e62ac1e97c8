// The print emulation's shared state and steps, for its own files.
#pragma once

#include <cstdint>
#include <new>

#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/PrintEmulation.h"

namespace print_emulation {

using platform::OSStatus;

constexpr int32_t kRecordSize = 120;
constexpr int16_t kParamErr = -50;

// The one session and what goes with it.
struct SessionState {
    platform::PMPrintSession session = nullptr;
    int32_t level = 0;
    int16_t resFile = -1;  // current when the session was made
    bool pageOpen = false;
    bool documentOpen = false;  // begun, and not yet ended
    OSStatus errorWithoutSession = 0;
};
SessionState& Session();

// Leaves a failure in the last error; success changes nothing.
void Note(OSStatus err);

// A record handle opened for use: Load tells what its bytes hold.
enum class RecordBytes : uint8_t {
    Unusable,  // null, or shorter than a record
    Ours,      // the fields as this emulation last wrote them
    Stored,    // a stored old record (marker set, or bytes we never wrote)
};
RecordBytes Load(THPrint record, MyPrintRecord* fields);
// Writes the fields into the handle's first 120 bytes and remembers them.
void Store(THPrint record, const MyPrintRecord& fields);
// Forgets a handle's remembered bytes (it is being freed).
void Forget(THPrint record);

// Opens a record for a call: Unusable sets -50 and answers false; stored
// bytes are converted and missing settings or page format made first
// (`created`: whether any was). The fields are then ready to change and
// Store.
bool Prepare(THPrint record, MyPrintRecord* fields, bool* created);

// Settings and page format made where missing (stored bytes converted
// first); whether any was made. With `makeOld` the old record is renewed.
bool _CreatePMData(THPrint record, MyPrintRecord* fields, RecordBytes bytes, bool makeOld);
void _CreateTHPrintData(MyPrintRecord* fields);

// Printer and destination of a record.
void ApplyCustomPrinter(const MyPrintRecord& fields);
// False when the session refused the destination (its error is kept).
bool ApplyCustomDestination(const MyPrintRecord& fields);
void _GetCurrentPrinter(MyPrintRecord* fields);
void _GetPrintDestination(MyPrintRecord* fields);
void ResetPrinterInfo(MyPrintRecord* fields);
// A copy the record owns (null for null or when memory is short).
const char* CopyText(const char* text);
void FreeText(const char*& text);

// Switches to the session's resource file for its life.
class SessionResFile {
public:
    SessionResFile();
    ~SessionResFile();
    SessionResFile(const SessionResFile&) = delete;
    SessionResFile& operator=(const SessionResFile&) = delete;

private:
    int16_t saved_;
};

// Runs an entry; memory running out on the way becomes memFullErr.
template <class R, class F>
R Guarded(R onFailure, F&& body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        Note(-108);
        return onFailure;
    }
}

}  // namespace print_emulation
