// A recorded file error and the ordered list of them that every stream and
// file keeps. The file layer records into these.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolbox/foundation/VObject.h"

class VFileError : public VObject {
public:
    VFileError() = default;
    VFileError(const VFileError&) = default;
    VFileError& operator=(const VFileError&) = default;

    // Texts are Mac Roman bytes.
    void SetDescription(const std::string& text) { fDescription = text; }
    void SetFullDescription(const std::string& text) { fFullDescription = text; }
    void SetOSError(uint32_t err) { fOSError = err; }
    void SetVError(uint32_t err) { fVError = err; }

    const std::string& GetDescription() const { return fDescription; }
    const std::string& GetFullDescription() const { return fFullDescription; }
    uint32_t GetOSError() const { return fOSError; }
    uint32_t GetVError() const { return fVError; }

private:
    std::string fDescription;
    std::string fFullDescription;
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
