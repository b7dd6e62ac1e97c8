// A recorded file error and the ordered list of them that every stream and
// file keeps. The file layer records into these.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VObject.h"

class VFileError : public VObject {
public:
    VFileError() = default;
    VFileError(const VFileError&) = default;
    VFileError& operator=(const VFileError&) = default;

    void SetDescription(const VString& text) { fDescription.FromVString(text); }
    void SetFullDescription(const VString& text) { fFullDescription.FromVString(text); }
    void SetOSError(uint32_t err) { fOSError = err; }
    void SetVError(uint32_t err) { fVError = err; }

    const VString& GetDescription() const { return fDescription; }
    const VString& GetFullDescription() const { return fFullDescription; }
    uint32_t GetOSError() const { return fOSError; }
    uint32_t GetVError() const { return fVError; }

private:
    VMacText fDescription;
    VMacText fFullDescription;
    uint32_t fOSError = 0;  // the raw platform code
    uint32_t fVError = 0;   // the toolbox code
};

// Owns its errors, oldest first; frees them when destroyed.
class VFileErrorStack : public VObject {
public:
    VFileErrorStack() = default;
    ~VFileErrorStack() override;
    VFileErrorStack(const VFileErrorStack&) = delete;
    VFileErrorStack& operator=(const VFileErrorStack&) = delete;

    int32_t GetCount() const { return int32_t(fErrors.size()); }
    // The n-th error (1-based), null outside 1..count.
    VFileError* GetFileError(int32_t n) const;
    // Takes ownership of the error; null is ignored.
    void Add(VFileError* error);
    // Appends a copy.
    void Add(const VFileError& error);

private:
    std::vector<VFileError*> fErrors;
};
