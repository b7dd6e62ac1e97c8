#include "forms/objects/Themes.h"

#include <new>

#include "forms/iff/ChunkFields.h"
#include "platform/core/Errors.h"

namespace {
constexpr IFFP kThemes = IFFP(platform::FourCC("Thm#"));
}

CThemesEditable::CThemesEditable(const CThemesEditable& other) : VObject() { *this = other; }

CThemesEditable& CThemesEditable::operator=(const CThemesEditable& other)
{
    if (this == &other) return *this;
    values_.reset();
    if (other.values_ && other.values_->oGetNbElem() > 0) {
        values_.reset(new VLongArray);
        if (values_) values_->CopyFrom(other.values_.get());
    }
    return *this;
}

int32_t CThemesEditable::At(int32_t index)
{
    int32_t v = 0;
    if (values_) values_->oGetElem(index, &v);
    return v;
}

bool CThemesEditable::Append(int32_t value)
{
    if (!values_) values_.reset(new VLongArray);
    return values_ && values_->oAddElem(&value) >= 0;
}

std::vector<int32_t> CThemesEditable::Values()
{
    std::vector<int32_t> out;
    for (int32_t i = 0; i < Count(); ++i) out.push_back(At(i));
    return out;
}

IFFP CThemesEditable::Read(CustomClientFrame*, _GroupContext* context)
{
    ChunkReader r(context);
    uint32_t count = 0;
    if (!r.U32(&count)) return r.Error();
    if (count > uint32_t(r.Left()) / 4) return BAD_FORM;
    for (uint32_t i = 0; i < count; ++i) {
        int32_t v = 0;
        if (!r.S32(&v)) return r.Error();
        if (!Append(v)) return platform::memFullErr;
    }
    return IFF_OKAY;
}

IFFP CThemesEditable::Write(_GroupContext* context)
{
    const int32_t n = Count();
    if (n == 0) return IFF_OKAY;
    ChunkWriter w(context);
    w.Begin(kThemes);
    w.U32(uint32_t(n));
    for (int32_t i = n - 1; i >= 0; --i) w.U32(uint32_t(At(i)));
    w.End();
    return w.Error();
}
