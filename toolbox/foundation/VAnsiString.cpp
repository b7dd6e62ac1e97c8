#include "toolbox/foundation/VAnsiString.h"

VAnsiString::~VAnsiString() = default;
CharSet VAnsiString::GetCharSet() const { return kCharSetAnsi; }

VAnsiStrInMem::~VAnsiStrInMem() = default;
VValue* VAnsiStrInMem::Clone() const { return new VAnsiStrInMem(*this); }

VAnsiText::~VAnsiText() = default;

VValue* VAnsiText::Clone() const
{
    auto* copy = new VAnsiText(*this);
    if (copy != nullptr) copy->SetNull(false);
    return copy;
}
