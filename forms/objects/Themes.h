// The themes of one form object: 32-bit values kept in a long array, stored
// after the object's chunk as "Thm#": a u32 count, then the values as i32
// from the last to the first; nothing at all for an empty list.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "forms/iff/Iff.h"
#include "kernel/arrays/VTypedArrays.h"
#include "toolbox/foundation/VObject.h"

struct CustomClientFrame;

class CThemesEditable : public VObject {
public:
    CThemesEditable() = default;
    CThemesEditable(const CThemesEditable& other);
    CThemesEditable& operator=(const CThemesEditable& other);

    int32_t Count() { return values_ ? values_->oGetNbElem() : 0; }
    int32_t At(int32_t index);
    bool Append(int32_t value);
    void Clear() { values_.reset(); }
    std::vector<int32_t> Values();

    // Appends the values in the order read. A count whose values pass the
    // chunk is BAD_FORM, before anything is kept.
    IFFP Read(CustomClientFrame* frame, _GroupContext* context);
    IFFP Write(_GroupContext* context);

private:
    // Made with the first value: most objects have none, and an array holds
    // a handle from the start.
    std::unique_ptr<VLongArray> values_;
};
