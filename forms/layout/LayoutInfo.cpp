#include "forms/layout/LayoutInfo.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "forms/iff/ChunkFields.h"
#include "platform/resfiles/Resources.h"

namespace {

constexpr IFFP kLayr = IFFP(platform::FourCC("Layr"));
constexpr IFFP kFlag = IFFP(platform::FourCC("FLAG"));
constexpr int16_t kLayerNameList = 374, kLayerNameItem = 88;
constexpr uint32_t kScriptBlockSize = 8;

void CopyCut(unsigned char* out, const char* text, size_t length)
{
    out[0] = uint8_t(length > kFormNameMax ? kFormNameMax : length);
    std::memcpy(out + 1, text, out[0]);
}

}  // namespace

void DfltLayoutScriptFlags(uint32_t flags[2])
{
    flags[0] = 0x1EBD27FF;
    flags[1] = 0xFFFFF9C0;
}

void LayerName(int32_t number, unsigned char* out)
{
    unsigned char format[256];
    platform::GetIndString(format, kLayerNameList, kLayerNameItem);
    char digits[12];
    const int n = std::snprintf(digits, sizeof digits, "%d", int(number));
    std::string text(reinterpret_cast<const char*>(format + 1), format[0]);
    const size_t at = text.find("^0");
    if (text.empty()) text = std::string("Layer ") + digits;
    else if (at != std::string::npos) text.replace(at, 2, digits, size_t(n));
    CopyCut(out, text.data(), text.size());
}

void LayoutInfo::Init()
{
    *this = LayoutInfo{};
    for (int32_t i = 0; i < kLayerCount; ++i) LayerName(i + 1, layerNames[i]);
}

IFFP LayoutInfo::SaveLayers(_GroupContext* context) const
{
    ChunkWriter w(context);
    w.Begin(kLayr);
    w.U16(kLayerCount);
    w.U8(currentLayer);
    for (int32_t i = 0; i < kLayerCount; ++i) {
        w.U8(layerFlag2[i]);
        w.U8(layerFlag1[i]);
        w.PStr(layerNames[i]);
    }
    w.End();
    return w.Error();
}

IFFP LayoutInfo::ReadLayers(_GroupContext* context)
{
    ChunkReader r(context);
    uint16_t count = 0;
    uint8_t current = 0;
    if (!r.U16(&count) || !r.U8(&current)) return r.Error();
    currentLayer = current < kLayerCount ? current : 0;
    for (int32_t i = 0; i < kLayerCount && r.Has(2); ++i)
        if (!r.U8(&layerFlag2[i]) || !r.U8(&layerFlag1[i]) || (r.Has(1) && !r.PStr(layerNames[i], kFormNameMax)))
            break;
    return r.Error();
}

IFFP LayoutInfo::SaveFlags(_GroupContext* context) const
{
    ChunkWriter w(context);
    w.Begin(kFlag);
    w.U8(fixedEntryOrder);
    w.U32(scriptFlags[0]);
    for (int16_t v : sizeLimits) w.U16(uint16_t(v));
    w.U16(uint16_t(hSize));
    w.U16(uint16_t(vSize));
    w.U8(!optionD ? 0 : !optionA ? 1 : 2);
    w.U8(optionB);
    w.U8(optionC);
    w.PStr(sizeObjectName);
    w.PStr(formText);
    w.U32(look);
    w.U16(uint16_t(inheritedTable));
    w.PStr(inheritedName);
    w.U32(kScriptBlockSize);
    w.U32(scriptFlags[0]);
    w.U32(scriptFlags[1]);
    w.U8(lastByte);
    w.End();
    return w.Error();
}

IFFP LayoutInfo::ReadFlags(_GroupContext* context, int16_t formVersion)
{
    ChunkReader r(context);
    auto fields = [&] {
        if (!r.Has(1) || !r.U8(&fixedEntryOrder)) return;
        if (!r.Has(4) || !r.U32(&scriptFlags[0])) return;
        scriptFlags[1] = 0;
        if (!r.Has(12)) {
            const int16_t sizes[4] = {0, 32767, 0, 32767};
            std::memcpy(sizeLimits, sizes, sizeof sizes);
            hSize = vSize = 0;
            optionA = optionB = optionC = optionD = 0;
            sizeObjectName[0] = formText[0] = 0;
            return;
        }
        for (int16_t& v : sizeLimits) r.S16(&v);
        r.S16(&hSize);
        r.S16(&vSize);
        if (!r.Ok() || !r.Has(1)) return;
        uint8_t mode = 0;
        r.U8(&mode);
        if (mode == 0) optionA = optionD = 0;
        else if (mode == 1) optionA = 0, optionD = 1;
        else if (mode == 2) optionA = optionD = 1;
        if (r.Has(1)) r.U8(&optionB);
        if (r.Has(1)) r.U8(&optionC);
        if (mode == 0) optionB = optionC = 1;
        if (!r.Ok() || !r.Has(1)) return;
        uint8_t length = 0;
        r.U8(&length);
        if (length > kFormNameMax) {
            sizeObjectName[0] = 0;
            return;
        }
        if (!r.Bytes(sizeObjectName + 1, length)) return;
        sizeObjectName[0] = length;
        if (!r.Has(1) || !r.PStr(formText, kFormTextMax)) return;
        if (!r.Has(4) || !r.U32(&look)) return;
        if (!r.Has(2) || !r.S16(&inheritedTable)) return;
        if (!r.Has(1) || !r.PStr(inheritedName, kFormNameMax)) return;
        uint32_t count = 0;
        if (!r.Has(4) || !r.U32(&count)) return;
        // Both longs fill the first 8 bytes of the block; a longer block
        // is skipped so that the last byte is read where it was written.
        const int32_t stored = count > uint32_t(r.Left()) ? r.Left() : int32_t(count);
        uint32_t flags[2] = {scriptFlags[0], scriptFlags[1]};
        for (int32_t i = 0; i < 2 && stored >= 4 * (i + 1); ++i) r.U32(&flags[i]);
        scriptFlags[0] = flags[0];
        scriptFlags[1] = flags[1];
        const int32_t taken = stored >= 8 ? 8 : stored >= 4 ? 4 : 0;
        if (!r.Skip(stored - taken)) return;
        if (r.Has(1)) r.U8(&lastByte);
    };
    fields();
    if (formVersion < 2) {
        uint32_t mask[2];
        DfltLayoutScriptFlags(mask);
        scriptFlags[0] &= mask[0];
        scriptFlags[1] &= mask[1];
    }
    return r.Error();
}
