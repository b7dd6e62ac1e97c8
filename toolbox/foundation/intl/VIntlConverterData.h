// The tables of one character-set family: from a converter file ('UCVT')
// in the folder "Language Support" of the extensions folder, mapped
// read-only and used in place; else from the resources 'macu', 'umac',
// 'winu' and 'uwin'; else, for the Western family, the platform's Mac Roman
// and Windows-1252 tables.
//
// A converter file is checked whole before use: its header, every table
// offset and every table's extent against the file's length. A file that
// fails is refused as if it were absent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VObject.h"

constexpr uint32_t kConverterMagic = 0x55435654;  // 'UCVT'
constexpr int32_t kConverterHeaderSize = 44;
constexpr int32_t kConverterTableHeaderSize = 12;
constexpr int32_t kConverterPathBuffer = 1024;

enum class ConverterSource : uint8_t { None, File, Resources, Platform };

// A from-UTF-16 resource table checked once: W, then ranges.
struct ResourceTable {
    const uint8_t* data = nullptr;
    int32_t size = 0;
    int16_t width = 0;
};

class VIntlConverterData : public VObject, public IRefCountable {
public:
    explicit VIntlConverterData(MultiByteCode code);
    ~VIntlConverterData() override;

    MultiByteCode GetCode() const { return fCode; }
    ConverterSource GetSource() const { return fSource; }
    bool IsFromFile() const { return fSource == ConverterSource::File; }
    bool IsFromResources() const { return fSource == ConverterSource::Resources; }
    // 1 single-byte, 2 double-byte (file or resource tables), 0 without tables.
    int16_t GetWidthKind() const;
    const std::string& GetFilePath() const { return fPath; }

    // Tables after their headers: [0] Mac to UTF-16, [1] UTF-16 to Mac,
    // [2] Windows to UTF-16, [3] UTF-16 to Windows.
    const uint8_t* Table(int32_t which) const { return fTables[which]; }
    int32_t TableSize(int32_t which) const { return fTableSizes[which]; }
    // Lead-byte flags of a double-byte file (Mac or Windows side).
    const uint8_t* LeadBytes(bool windows) const { return fLeadBytes[windows ? 1 : 0]; }

    // The path of the converter file for code in folder, "" when none: every
    // readable file that begins with a valid header of that code counts; of
    // several, the first whose name is longer than "mac_" and begins with it
    // (any case), else the first listed. A file whose path does not fit in
    // kConverterPathBuffer bytes is not looked at.
    static std::string _GetDataFileName(const std::string& folder, MultiByteCode code);
    // True when the bytes form a valid converter file; width receives its kind.
    static bool ValidateConverterFile(const uint8_t* data, int32_t size, MultiByteCode code, int16_t* width);

private:
    bool _InitFromFile(const std::string& path);
    bool _InitFromResource();
    void TakeFileTables(const uint8_t* base, int16_t width);

    MultiByteCode fCode;
    ConverterSource fSource = ConverterSource::None;
    int16_t fWidthKind = 0;
    const uint8_t* fTables[4] = {};
    int32_t fTableSizes[4] = {};
    const uint8_t* fLeadBytes[2] = {};
    void* fMapping = nullptr;
    int32_t fMappingLength = 0;
    int fDescriptor = -1;
    std::string fPath;
    std::vector<uint8_t> fResourceCopies[4];
};

// Where converter files are looked for: the extensions folder's
// "Language Support" (tests may name another folder; "" puts it back).
std::string ConverterFolder();
void SetConverterFolder(const std::string& folder);
