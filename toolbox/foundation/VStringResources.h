// How strings reach the 'STR#' lists of resource files, which belong to a
// higher layer: that layer installs its access at start-up. Without one,
// FromStrListResource leaves its string empty.
#pragma once

#include <cstdint>

class VResourceFile;
class VString;

class VStringResourceAccess {
public:
    virtual ~VStringResourceAccess();
    // The id of the named resource of that type in the file, -1 when none.
    virtual int16_t GetResourceID(VResourceFile& file, uint32_t type, const VString& name) = 0;
    // The index-th string (1-based) of the 'STR#' list; empty when absent.
    virtual void GetString(VResourceFile& file, VString& result, int16_t listId, int16_t index) = 0;
};

// Not owned; null removes it.
void SetStringResourceAccess(VStringResourceAccess* access);
VStringResourceAccess* GetStringResourceAccess();
