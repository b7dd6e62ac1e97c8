// Lists the items of one folder, one new VFile or VFolder at a time (owned
// by the caller), through the platform's catalogue iterator. The items are
// those the folder held when First ran, in name order, so changing the
// folder while walking it skips nothing.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"
#include "platform/files/FSRefIterator.h"
#include "toolbox/files/VFileFilter.h"
#include "toolbox/foundation/VList.h"

class VFolder;
class VPath;

using FileIteratorOptions = uint32_t;
constexpr FileIteratorOptions kIterateFolders = 2;
constexpr FileIteratorOptions kIterateFiles = 4;
constexpr FileIteratorOptions kIterateInvisible = 8;
constexpr FileIteratorOptions kIterateResolveAliases = 16;
// The plain catalogue walk; on Linux both walks list the same items.
constexpr FileIteratorOptions kIteratePlainCatalog = 32;

// A cursor over items of the file system; the generic cursor's list, place
// and backward operations mean nothing here and do nothing.
// Whether a file of that toolbox kind passes the filter: no filter, or one
// without kinds, accepts everything; otherwise one of its kinds is '????'
// or the file's own.
bool xFilterFile(const VFileFilter* filter, uint32_t kind);

class VFileIterator_Root : public VIteratorOf<VPath*> {
public:
    ~VFileIterator_Root() override;

    void UseList(VListOf<VPath*>* list) override;
    VPath* Next() override;
    VPath* Current() override;
    VPath* Previous() override;
    VPath* First() override;
    VPath* Last() override;
    void SetCurrent(VPath* const& item) override;
    void SetPos(int32_t pos) override;
    // 0 before the first item, then the 1-based number of the last one given.
    int32_t GetPos() const override;
    // Takes ownership of the filter (null removes filtering).
    virtual void SetFilter(VFileFilter* filter);
    virtual bool IsEnd();

protected:
    explicit VFileIterator_Root(FileIteratorOptions options);
    // No filter, or one without kinds, lets every file through.
    bool FilterFile(uint32_t kind) const { return xFilterFile(fFilter, kind); }

    VFileFilter* fFilter = nullptr;
    bool fResolveAliases;
    bool fListInvisible;
    bool fListFolders;
    bool fListFiles;
    bool fPlainCatalog;
};

class VFileIterator : public VFileIterator_Root {
public:
    // A non-zero kind lists only files of that kind.
    VFileIterator(const VFolder& folder, FileIteratorOptions options, uint32_t kind = 0);
    ~VFileIterator() override;

    VPath* Next() override;
    VPath* First() override;
    int32_t GetPos() const override { return int32_t(fPos); }
    bool IsEnd() override { return fEnd; }

private:
    // The next item the options list, or null at the end of the folder
    // (or when the catalogue fails).
    VPath* _GetCatalogInfo();
    void CloseCatalogIterator();

    platform::FSRef fFolderRef;
    bool fFolderOnDisk;
    platform::FSIterator fIterator = nullptr;
    uint32_t fPos = 0;
    bool fEnd = false;
};
