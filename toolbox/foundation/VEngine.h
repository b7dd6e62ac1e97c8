// The toolbox's one way to the host engine: gCallQz, a host function taking
// a selector and a parameter block. VEngine wraps it in named operations.
#pragma once

#include <cstdint>

class VString;

using CallQzProc = void (*)(int16_t selector, void* parm);
// Installed by the host; null when the toolbox runs without one.
extern CallQzProc gCallQz;

// The parameter block: numbers in host order at fixed offsets.
constexpr int32_t kParmSize = 566;
constexpr int32_t kParmValue = 272;
constexpr int32_t kParmResult = 304;
constexpr int32_t kParmText = 310;

constexpr int16_t kSelectorEvalTime = 61;

class VEngine {
public:
    // The text evaluated as a time of day by the host (seconds); 0 without
    // a host.
    static int32_t EvalTime(const VString& text);
};
