// The value of no kind: always null, never comparable.
#pragma once

#include "toolbox/foundation/VValueSingle.h"

class VEmpty : public VValueSingle {
public:
    VEmpty();
    ~VEmpty() override;

    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
    VValue* Clone() const override;
    bool CanBeEvaluated() const override;
    void SetNull(uint8_t null, int32_t index = -1) override;
    ValueKind GetValueKind() const override;
    int32_t CompareTo(const VValue& other, uint8_t option = 0, int32_t index = -1) const override;
};
