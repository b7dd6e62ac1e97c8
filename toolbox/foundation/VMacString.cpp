#include "toolbox/foundation/VMacString.h"

VMacString::~VMacString() = default;
CharSet VMacString::GetCharSet() const { return kCharSetMac; }

VMacStrInMem::~VMacStrInMem() = default;
VValue* VMacStrInMem::Clone() const { return new VMacStrInMem(*this); }

VMacText::~VMacText() = default;

VValue* VMacText::Clone() const
{
    auto* copy = new VMacText(*this);
    if (copy != nullptr) copy->SetNull(false);
    return copy;
}
