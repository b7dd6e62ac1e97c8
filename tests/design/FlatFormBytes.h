// Forms of the older flat layout written by hand, record by record: the
// paged layout's tag 13 and one list of records ended by a type 0.
#pragma once

#include <functional>
#include <string>

#include "tools/docbuilder/Bytes.h"

namespace designtest {

struct Trailer {
    int16_t balloon = 0;
    int16_t lists[3] = {-1, -1, -1};
    bool firstOn = true;
    bool block = false;
};

inline void PutTrailer(docbuilder::ByteWriter& w, const Trailer& t)
{
    if (t.balloon) w.U16(0xFFFE), w.U16(uint16_t(t.balloon));
    if (!t.block) {
        w.U16(0);
        return;
    }
    w.U16(1), w.U16(uint16_t(t.lists[0])), w.U8(t.firstOn ? 1 : 0), w.U8(0);
    w.U16(uint16_t(t.lists[1])), w.U16(0), w.U16(uint16_t(t.lists[2]));
    w.Zeros(70 - 12);
    w.PaddedPString("");
}

inline void FieldRecord(docbuilder::ByteWriter& w, int16_t field, uint8_t table, int16_t methodId, const std::string& label, const Trailer& t)
{
    w.U16(0x0100);
    w.Zeros(14);
    w.U16(uint16_t(field));
    w.U8(0), w.U8(table);
    w.Zeros(8);
    w.U16(uint16_t(methodId));
    w.PaddedPString(label);
    PutTrailer(w, t);
}

inline void VariableRecord(docbuilder::ByteWriter& w, const std::string& name, int16_t scope, uint8_t kind, int16_t methodId,
                    const std::string& label, const Trailer& t)
{
    w.U16(0x0900);
    w.Zeros(8);
    w.FixedPString(name, 16);
    w.U16(uint16_t(scope));
    w.Zeros(6);
    w.U8(kind), w.U8(0);
    w.U16(uint16_t(methodId));
    w.Zeros(6);
    w.PaddedPString(label);
    PutTrailer(w, t);
}

inline void TextRecord(docbuilder::ByteWriter& w, const std::string& text)
{
    w.U16(0x0500);
    w.Zeros(28);
    w.U16(uint16_t(text.size()));
    for (char c : text) w.U8(uint8_t(c));
    w.PadEven();
}

inline void SubformRecord(docbuilder::ByteWriter& w, int16_t table, const std::string& first, const std::string& second)
{
    w.U16(0x0B00);
    w.Zeros(12);
    w.U16(uint16_t(table));
    w.FixedPString(first, 16);
    w.FixedPString(second, 18);
}

inline docbuilder::Bytes FormBytes(const std::function<void(docbuilder::ByteWriter&)>& records)
{
    docbuilder::ByteWriter w;
    w.U8(13), w.U8(0), w.U16(1);
    records(w);
    w.U16(0);
    return w.Take();
}

}  // namespace designtest
