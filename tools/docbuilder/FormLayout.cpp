#include "tools/docbuilder/FormLayout.h"

#include "tools/docbuilder/Records.h"

namespace docbuilder {
namespace {

// Type words of the flat records.
constexpr uint8_t kFieldRecord = 1, kRectRecord = 2, kOvalRecord = 4, kTextRecord = 5, kLineRecord = 6,
                  kVariableRecord = 9, kPictureRecord = 10, kSubformRecord = 11;

void Bounds(ByteWriter& w, size_t row)
{
    const uint16_t top = uint16_t(10 + 26 * row);
    w.U16(top), w.U16(10), w.U16(top + 20), w.U16(210);
}

// The optional balloon and the choice-list block behind fields and
// variables.
void Trailer(ByteWriter& w, const FormRecord& r)
{
    if (r.balloon) {
        w.U16(0xFFFE);
        w.U16(uint16_t(r.balloon));
    }
    if (!r.listId) {
        w.U16(0);
        return;
    }
    const size_t at = w.Size();
    w.U16(1);
    w.U16(uint16_t(r.listId));
    w.U8(1), w.U8(0);
    w.U16(0xFFFF), w.U16(0), w.U16(0xFFFF);
    w.Zeros(70 - (w.Size() - at));
    w.PaddedPString("");
}

}  // namespace

Bytes FlatForm(const std::vector<FormRecord>& records, ByteOrder order)
{
    ByteWriter w(order);
    w.U8(13);  // the format's version byte
    w.U8(0);
    w.U16(1);
    for (size_t row = 0; row < records.size(); ++row) {
        const FormRecord& r = records[row];
        switch (r.kind) {
        case FormItemSpec::Field:
            w.U8(kFieldRecord), w.U8(0);
            Bounds(w, row);
            w.Zeros(6);
            w.U16(uint16_t(r.fieldNumber));
            w.U8(0), w.U8(uint8_t(r.tableNumber));
            w.Zeros(8);
            w.U16(uint16_t(r.methodId));
            w.PaddedPString("");
            Trailer(w, r);
            break;
        case FormItemSpec::Variable:
            w.U8(kVariableRecord), w.U8(0);
            Bounds(w, row);
            w.FixedPString(r.name, 12);
            w.U16(0), w.U8(0), w.U8(0);  // font, face, a spare byte
            w.U16(r.interprocess ? 0xFFFF : 1);
            w.Zeros(6);
            w.U8(r.objectKind), w.U8(0);
            w.U16(uint16_t(r.methodId));
            w.Zeros(6);
            w.PaddedPString(r.text);
            Trailer(w, r);
            break;
        case FormItemSpec::Text: {
            w.U8(kTextRecord), w.U8(0);
            Bounds(w, row);
            w.Zeros(20);
            const size_t n = std::min<size_t>(r.text.size(), 32000);
            w.U16(uint16_t(n));
            for (size_t i = 0; i < n; ++i) w.U8(uint8_t(r.text[i]));
            w.PadEven();
            break;
        }
        case FormItemSpec::Rect:
        case FormItemSpec::Oval:
        case FormItemSpec::Line:
            w.U8(r.kind == FormItemSpec::Rect ? kRectRecord : r.kind == FormItemSpec::Oval ? kOvalRecord : kLineRecord);
            w.U8(0);
            Bounds(w, row);
            w.Zeros(26);
            break;
        case FormItemSpec::Picture: {
            const Bytes picture = Picture(20, 200, order);
            w.U8(kPictureRecord), w.U8(0);
            Bounds(w, row);
            w.U32(uint32_t(picture.size()));
            w.Append(picture);
            w.PadEven();
            break;
        }
        case FormItemSpec::Subform:
            w.U8(kSubformRecord), w.U8(0);
            Bounds(w, row);
            w.Zeros(4);
            w.U16(uint16_t(-r.subformTable));
            w.FixedPString(r.text, 16);
            w.FixedPString(r.text, 18);
            break;
        default: break;  // the layout refuses the kinds of chunk-file forms here
        }
    }
    w.U16(0);
    return w.Take();
}

}  // namespace docbuilder
