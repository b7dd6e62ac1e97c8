// The program's own folders, by kind, as folder objects (the kernel, which
// sits below this layer, takes the bare file reference).
#pragma once

#include <cstdint>
#include <string>

#include "kernel/standins/QzFolders.h"
#include "platform/files/FileTypes.h"
#include "toolbox/foundation/VObject.h"

// A folder found by FindQzFolder; the caller releases it.
class CQzFolder : public VObject, public IRefCountable {
public:
    explicit CQzFolder(const platform::FSSpec& fileSpec) : fSpec(fileSpec) {}

    const platform::FSSpec& GetSpec() const { return fSpec; }
    const std::string& GetPath() const { return fSpec.path; }
    // The file reference of an item of that name inside the folder; fnfErr
    // (with the file reference made) when there is none yet.
    platform::OSErr GetItemSpec(const std::string& name, platform::FSSpec* item) const;

private:
    platform::FSSpec fSpec;
};

// The folder of that kind, or null when it does not exist and `create` is 0
// (or it cannot be made, or the kind is unknown).
CQzFolder* FindQzFolder(KindQzFolder kind, uint8_t create);
