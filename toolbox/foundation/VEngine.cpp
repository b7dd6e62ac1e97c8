#include "toolbox/foundation/VEngine.h"

#include <cstring>

#include "toolbox/foundation/VString.h"

CallQzProc gCallQz = nullptr;

namespace {

void PutParmLong(uint8_t* parm, int32_t offset, int32_t value) { std::memcpy(parm + offset, &value, 4); }

int32_t GetParmLong(const uint8_t* parm, int32_t offset)
{
    int32_t value;
    std::memcpy(&value, parm + offset, 4);
    return value;
}

}  // namespace

int32_t VEngine::EvalTime(const VString& text)
{
    uint8_t parm[kParmSize] = {};
    PutParmLong(parm, kParmValue, 11);
    PutParmLong(parm, kParmResult, 0);
    constexpr int32_t kMaxTimeText = 82;
    text.ToPString(parm + kParmText, kMaxTimeText, kCharSetMac);
    if (gCallQz != nullptr) gCallQz(kSelectorEvalTime, parm);
    return GetParmLong(parm, kParmResult);
}
