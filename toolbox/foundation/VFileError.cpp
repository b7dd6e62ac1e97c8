#include "toolbox/foundation/VFileError.h"

VFileErrorStack::~VFileErrorStack()
{
    for (VFileError* error : fErrors) delete error;
}

VFileError* VFileErrorStack::GetFileError(int32_t n) const
{
    return n >= 1 && n <= GetCount() ? fErrors[size_t(n - 1)] : nullptr;
}

void VFileErrorStack::Add(VFileError* error)
{
    if (error) fErrors.push_back(error);
}

void VFileErrorStack::Add(const VFileError& error) { Add(new VFileError(error)); }
