// One entry of the open dialog's file-type popup: the file kinds (with
// their creators) and uniform type identifiers it lets through. The folder
// iterator uses it as its kind filter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/files/FileTypes.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/VSystem.h"  // kAnyFileKind

// What the dialog's filter says about extensions; the dialog filter
// answers it. Without one no extension is mapped.
class VExtensionMapping {
public:
    virtual ~VExtensionMapping();
    virtual bool IsExtensionMappingNeeded() const = 0;
    virtual bool IsKindForMappedExtension(uint32_t kind) const = 0;
};

class VFileFilter : public VObject {
public:
    VFileFilter();
    // The name (at most 63 characters kept) and, when kind is not 0, that kind.
    VFileFilter(const uint8_t* cName, uint32_t kind, uint32_t creator);
    VFileFilter(const VString& name, uint32_t kind, uint32_t creator);
    ~VFileFilter() override;

    // By the extension (length-prefixed, with its '.') and platform type.
    virtual bool MAC_FilterFile(const uint8_t* pExtension, uint32_t macType, const VExtensionMapping* dialog);
    // By the item itself: its type and extension.
    virtual bool MAC_FilterFile(const platform::FSRef& ref, const VExtensionMapping* dialog);
    // The n-th identifier (1-based); empty outside the range.
    virtual void GetNthUTIKind(int32_t n, VString& uti) const;
    virtual int32_t GetUTIKindsCount() const;
    virtual void AddFileKind(const VString& uti);

    // Appends the pair when the kind is a valid file kind; a default kind
    // of 0 becomes this kind either way.
    void AddFileKind(uint32_t kind, uint32_t creator);

    const VString& GetName() const { return fName; }
    uint32_t GetDefaultKind() const { return fDefaultKind; }
    int32_t GetKindCount() const { return int32_t(fKinds.size()); }
    // 1-based; 0 outside the range.
    uint32_t GetKind(int32_t n) const;
    uint32_t GetCreator(int32_t n) const;
    // Whether a file of that toolbox kind passes (the folder iterator's test).
    bool AcceptsKind(uint32_t kind) const;

private:
    VStr<63> fName;
    uint32_t fDefaultKind = 0;
    std::vector<uint32_t> fKinds;
    std::vector<uint32_t> fCreators;
    std::vector<std::u16string> fUTIKinds;
};

// Whether the platform answers type conformance of identifiers; Linux has
// no such service, so filters fall back to kinds and extensions.
bool LoadUTIFramework();
