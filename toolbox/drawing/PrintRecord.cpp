// Print records: their layout in the handle, their life, and the
// conversion of stored old records into settings and a page format.
#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/PrintInternal.h"

using namespace platform;

namespace print_emulation {
namespace {

// The fields in the record handle, native order (the handle lives in
// memory only; a stored record is the old 120-byte layout instead):
//  off size
//   0   1   stored-old-record marker      non-zero: bytes still to convert
//   1   1   0
//   2   1   platform data present
//   3   1   changed
//   8   8   print settings
//  16   8   page format
//  24   8   old record handle
//  32   8   spare handle
//  40   2   reserved 0;  42: reserved 1;  43: reserved 0
//  44   1   custom printer;  45: custom destination
//  48   8   printer
//  56   8   printer id (text the record owns)
//  64   4   destination kind
//  72   8   destination path (text the record owns)
//  80   8   sheet window
using Image = std::array<uint8_t, kRecordSize>;

template <class T>
void Put(Image& image, size_t offset, T value)
{
    std::memcpy(image.data() + offset, &value, sizeof value);
}

template <class T>
T Get(const uint8_t* bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

Image Encode(const MyPrintRecord& f)
{
    Image image{};
    image[0] = f.oldRecordMarker;
    image[2] = f.hasPlatformData;
    image[3] = f.changed;
    Put(image, 8, f.settings);
    Put(image, 16, f.pageFormat);
    Put(image, 24, f.oldRecord);
    Put(image, 32, f.spare);
    Put(image, 40, f.reserved1);
    image[42] = f.reserved2;
    image[43] = f.reserved3;
    image[44] = f.customPrinter;
    image[45] = f.customDestination;
    Put(image, 48, f.printer);
    Put(image, 56, f.printerID);
    Put(image, 64, f.destinationKind);
    Put(image, 72, f.destinationPath);
    Put(image, 80, f.sheetWindow);
    return image;
}

MyPrintRecord Decode(const uint8_t* b)
{
    MyPrintRecord f;
    f.oldRecordMarker = b[0];
    f.hasPlatformData = b[2] != 0;
    f.changed = b[3] != 0;
    f.settings = Get<PMPrintSettings>(b, 8);
    f.pageFormat = Get<PMPageFormat>(b, 16);
    f.oldRecord = Get<char**>(b, 24);
    f.spare = Get<char**>(b, 32);
    f.reserved1 = Get<int16_t>(b, 40);
    f.reserved2 = b[42];
    f.reserved3 = b[43];
    f.customPrinter = b[44] != 0;
    f.customDestination = b[45] != 0;
    f.printer = Get<PMPrinter>(b, 48);
    f.printerID = Get<const char*>(b, 56);
    f.destinationKind = Get<int32_t>(b, 64);
    f.destinationPath = Get<const char*>(b, 72);
    f.sheetWindow = Get<WindowRecord*>(b, 80);
    return f;
}

// What each record handle held when this emulation last wrote it. Bytes
// that differ were put there by someone else (a stored record read into
// the handle): they are converted, never taken for object pointers.
std::unordered_map<THPrint, Image>& Written()
{
    static std::unordered_map<THPrint, Image> written;
    return written;
}

MyPrintRecord FreshFields()
{
    MyPrintRecord f;
    f.changed = true;
    f.reserved2 = 1;
    ResetPrinterInfo(&f);
    return f;
}

// Settings, page format and handles the record holds, released.
void DisposeAllPrintData(MyPrintRecord* f)
{
    PMRelease(f->settings);
    PMRelease(f->pageFormat);
    f->settings = nullptr;
    f->pageFormat = nullptr;
    FreeText(f->destinationPath);
    PMRelease(f->printer);
    f->printer = nullptr;
    FreeText(f->printerID);
    if (f->spare) DisposeHandle(f->spare);
    f->spare = nullptr;
    if (f->oldRecord) DisposeHandle(f->oldRecord);
    f->oldRecord = nullptr;
}

// A stored old record becomes the record's old record, and settings and
// page format are read from it.
void _LoadFromRowTPrintData(THPrint record, MyPrintRecord* f)
{
    Handle copy = NewHandle(kRecordSize);
    if (copy) std::memcpy(*copy, *record, kRecordSize);
    else Note(memFullErr);
    *f = FreshFields();
    f->hasPlatformData = true;
    f->oldRecord = copy;
    f->changed = false;
    if (!copy) return;
    // Records from version 1024 on keep fields of their own in the
    // extension words, which the conversion would misread.
    if (int16_t(ReadBE16(*copy)) >= 1024) std::memset(*copy + 82, 0, kRecordSize - 82);
    PMPrintSettings settings = nullptr;
    PMPageFormat format = nullptr;
    const OSStatus err = PMSessionConvertOldPrintRecord(Session().session, copy, &settings, &format);
    Note(err);
    if (err == noErr) {
        f->settings = settings;
        f->pageFormat = format;
    }
}

}  // namespace

RecordBytes Load(THPrint record, MyPrintRecord* fields)
{
    *fields = MyPrintRecord{};
    if (!record || !*record || GetHandleSize(record) < kRecordSize) return RecordBytes::Unusable;
    const auto* bytes = reinterpret_cast<const uint8_t*>(*record);
    auto it = Written().find(record);
    bool written = it != Written().end();
    if (written && std::memcmp(it->second.data(), bytes, kRecordSize) != 0) {
        // Someone wrote over a record of ours: what it held is let go.
        MyPrintRecord lost = Decode(it->second.data());
        DisposeAllPrintData(&lost);
        Written().erase(it);
        written = false;
    }
    if (bytes[0] != 0 || !written) {
        fields->oldRecordMarker = bytes[0];
        return RecordBytes::Stored;
    }
    *fields = Decode(bytes);
    return RecordBytes::Ours;
}

void Store(THPrint record, const MyPrintRecord& fields)
{
    const Image image = Encode(fields);
    Written()[record] = image;
    std::memcpy(*record, image.data(), kRecordSize);
}

void Forget(THPrint record) { Written().erase(record); }

bool _CreatePMData(THPrint record, MyPrintRecord* f, RecordBytes bytes, bool makeOld)
{
    SessionResFile inSessionFile;
    if (bytes == RecordBytes::Stored) _LoadFromRowTPrintData(record, f);
    PMPrintSession session = Session().session;
    bool created = false;
    if (!f->settings && PMCreatePrintSettings(&f->settings) == noErr) {
        Note(PMSessionDefaultPrintSettings(session, f->settings));
        f->changed = true;
        created = true;
    }
    if (!f->pageFormat && PMCreatePageFormat(&f->pageFormat) == noErr) {
        Note(PMSessionDefaultPageFormat(session, f->pageFormat));
        f->changed = true;
        created = true;
    }
    f->hasPlatformData = true;
    if (makeOld) _CreateTHPrintData(f);
    return created;
}

void _CreateTHPrintData(MyPrintRecord* f)
{
    if (!f->hasPlatformData) {
        if (!f->oldRecord) {
            f->oldRecord = NewHandleClear(kRecordSize);
            f->changed = true;
        }
        return;
    }
    if (!f->changed && f->oldRecord) return;
    SessionResFile inSessionFile;
    PMPrintSession session = Session().session;
    if (f->oldRecord) DisposeHandle(f->oldRecord);
    f->oldRecord = nullptr;
    Handle made = nullptr;
    if (PMSessionMakeOldPrintRecord(session, f->settings, f->pageFormat, &made) != noErr) {
        made = nullptr;
        PMPrintSettings settings = nullptr;
        PMPageFormat format = nullptr;
        if (PMCreatePageFormat(&format) == noErr && PMSessionDefaultPageFormat(session, format) == noErr &&
            PMCreatePrintSettings(&settings) == noErr && PMSessionDefaultPrintSettings(session, settings) == noErr &&
            PMSessionMakeOldPrintRecord(session, settings, format, &made) != noErr)
            made = nullptr;
        PMRelease(settings);
        PMRelease(format);
    }
    f->oldRecord = made;
    if (!made) f->changed = true;
}

bool Prepare(THPrint record, MyPrintRecord* fields, bool* created)
{
    if (created) *created = false;
    const RecordBytes bytes = Load(record, fields);
    if (bytes == RecordBytes::Unusable) {
        Note(paramErr);
        return false;
    }
    if (bytes == RecordBytes::Stored || !fields->hasPlatformData) {
        const bool made = _CreatePMData(record, fields, bytes, false);
        if (created) *created = made;
        Store(record, *fields);
    }
    return true;
}

}  // namespace print_emulation

using namespace print_emulation;

THPrint NewPrintRecord()
{
    return Guarded<THPrint>(nullptr, [] {
        THPrint record = NewHandle(kRecordSize);
        if (!record) {
            Note(memFullErr);
            return THPrint(nullptr);
        }
        try {
            Store(record, FreshFields());
        } catch (const std::bad_alloc&) {
            DisposeHandle(record);
            throw;
        }
        return record;
    });
}

void InitPrintRecord(THPrint record)
{
    Guarded(0, [&] {
        MyPrintRecord fields;
        const RecordBytes bytes = Load(record, &fields);
        if (bytes == RecordBytes::Unusable) {
            Note(paramErr);
            return 0;
        }
        // What the record held would otherwise be lost.
        if (bytes == RecordBytes::Ours) DisposeAllPrintData(&fields);
        Store(record, FreshFields());
        return 0;
    });
}

void DisposePrintRecord(THPrint& record)
{
    THPrint h = record;
    record = nullptr;
    if (!h) return;
    MyPrintRecord fields;
    if (Load(h, &fields) == RecordBytes::Ours) DisposeAllPrintData(&fields);
    Forget(h);
    DisposeHandle(h);
}

bool GetPrintRecordFields(THPrint record, MyPrintRecord* fields)
{
    MyPrintRecord ignored;
    if (!fields) fields = &ignored;
    if (Load(record, fields) == RecordBytes::Ours) return true;
    *fields = MyPrintRecord{};
    return false;
}

bool PrintDefault(THPrint record)
{
    return Guarded(false, [&] {
        MyPrintRecord f;
        bool created = false;
        if (!Prepare(record, &f, &created)) return false;
        created = _CreatePMData(record, &f, RecordBytes::Ours, true) || created;
        f.changed = true;
        Store(record, f);
        return created;
    });
}

int16_t PrValidate(THPrint record)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        MyPrintRecord f;
        bool defaulted = false;
        if (!Prepare(record, &f, &defaulted)) return 0;
        SessionResFile inSessionFile;
        PMPrintSession session = Session().session;
        ApplyCustomPrinter(f);

        Boolean corrected = false;
        OSStatus err = PMSessionValidatePrintSettings(session, f.settings, &corrected);
        if (err != noErr) {
            Note(err);
            if (!f.settings && PMCreatePrintSettings(&f.settings) == noErr) Note(kPMInvalidPrintSettings);
            if (f.settings && PMSessionDefaultPrintSettings(session, f.settings) == noErr) defaulted = true;
        } else if (corrected) {
            defaulted = true;
        }
        corrected = false;
        err = PMSessionValidatePageFormat(session, f.pageFormat, &corrected);
        if (err != noErr) {
            Note(err);
            if (!f.pageFormat && PMCreatePageFormat(&f.pageFormat) == noErr) Note(kPMInvalidPageFormat);
            if (f.pageFormat && PMSessionDefaultPageFormat(session, f.pageFormat) == noErr) defaulted = true;
        } else if (corrected) {
            defaulted = true;
        }
        if (defaulted) f.changed = true;
        _CreateTHPrintData(&f);
        Store(record, f);
        return defaulted ? 1 : 0;
    });
}

platform::Rect TruncatePageRect(const PMRect& r)
{
    auto edge = [](double v) -> int16_t {
        if (std::isnan(v)) return 0;
        v = std::trunc(v);
        return int16_t(v < -32768.0 ? -32768.0 : v > 32767.0 ? 32767.0 : v);
    };
    return platform::Rect{edge(r.top), edge(r.left), edge(r.bottom), edge(r.right)};
}

void GetPrintRecordPageRect(THPrint record, platform::Rect* rect)
{
    if (!rect) return;
    *rect = platform::Rect{0, 0, 0, 0};
    if (!record) {
        Note(paramErr);
        return;
    }
    Guarded(0, [&] {
        MyPrintRecord f;
        PMRect page{};
        if (Prepare(record, &f, nullptr) && PMGetAdjustedPageRect(f.pageFormat, &page) == noErr)
            *rect = TruncatePageRect(page);
        return 0;
    });
}

void SetPrintRecordSheetWindow(THPrint record, WindowRecord* window)
{
    Guarded(0, [&] {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return 0;
        f.sheetWindow = window;
        Store(record, f);
        return 0;
    });
}

void SetPrintRecordDestination(THPrint record, int32_t kind, const char* path)
{
    Guarded(0, [&] {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return 0;
        FreeText(f.destinationPath);
        f.destinationPath = CopyText(path);
        if (path && !f.destinationPath) Note(memFullErr);
        f.destinationKind = kind;
        f.customDestination = true;
        Store(record, f);
        return 0;
    });
}

void SetPrintRecordJobName(THPrint record, const std::string& fileName, const std::string& words)
{
    Guarded(0, [&] {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return 0;
        Note(PMPrintSettingsSetJobName(f.settings, fileName, words));
        Store(record, f);
        return 0;
    });
}
