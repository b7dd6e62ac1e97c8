// Chunks of stored forms written by hand, field by field, in either byte
// order, for the tests of the walkers that read and rewrite them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/forms/IffBytes.h"

namespace designtest {

using ifftest::B;
using ifftest::Bytes;

// A form holding the chunks; in the other byte order when `little`.
inline Bytes ChunkForm(bool little, const std::function<void(B&)>& chunks)
{
    B inner = little ? ifftest::Little() : B();
    chunks(inner);
    B outer = little ? ifftest::Little() : B();
    return outer.Group("FORM", "LAYO", inner.b).b;
}

inline B Like(const B& b) { return b.little ? ifftest::Little() : B(); }

inline void Chunk(B& b, const char* id, const std::function<void(B&)>& data)
{
    B d = Like(b);
    data(d);
    b.Chunk(id, d.b);
}

// The part fields and variables begin with: bounds, the option bytes, the
// record word, the tip, the method, the padded display format.
inline void Editable(B& d, int16_t tip, int16_t method, const std::string& format)
{
    d.W(10).W(10).W(30).W(200).U8(0).U8(1).W(0).W(uint16_t(tip)).W(uint16_t(method)).P(format);
    if ((format.size() + 1) % 2) d.U8(0);
}

inline void FieldChunk(B& b, int16_t field, int16_t table, int16_t tip = 0, int16_t method = 0, const std::string& format = "")
{
    Chunk(b, "FILD", [&](B& d) {
        Editable(d, tip, method, format);
        d.W(uint16_t(field)).W(uint16_t(table)).U8(0).U8(0);
    });
}

// A variable whose name is kept in `room` bytes (0: the room a writer
// gives it).
inline void VarChunk(B& b, const std::string& name, bool interprocess, uint32_t subType, const std::string& format,
                     int16_t tip = 0, int16_t method = 0, size_t givenRoom = 0)
{
    Chunk(b, "VAR ", [&](B& d) {
        Editable(d, tip, method, format);
        const size_t room = givenRoom ? givenRoom : std::max<size_t>(8, name.size() + 1);
        d.U8(uint32_t(room)).P(name).Zeros(room - 1 - name.size());
        d.L(subType).L(0).U8(interprocess ? 1 : 0).Zeros(5).W(0).W(0);
    });
}

inline void Satt(B& b, int16_t choice, bool set, int16_t required, int16_t excluded, const std::string& filter = "")
{
    Chunk(b, "SATT", [&](B& d) {
        d.W(uint16_t(choice)).U8(set ? 1 : 0).U8(0).W(uint16_t(required)).W(0).W(uint16_t(excluded));
        d.U8(0).U8(0).Zeros(10).U8(0).U8(0).Zeros(10).U8(1).U8(0).P("").P(filter).U8(0).U8(uint32_t(filter.size()));
    });
}

inline void TextChunk(B& b, const std::string& text)
{
    Chunk(b, "TEXT", [&](B& d) { d.W(0).W(0).W(20).W(100).Zeros(8).U8(0).L(uint32_t(text.size())).Raw(text); });
}

// Script flags, sizes, options, the size object's name, the form text,
// the look, the inherited form; then the script-flags block and the last
// byte.
inline void Flag(B& b, int16_t table, const std::string& name, const std::string& formText = "",
                 const std::string& sizeObject = "")
{
    Chunk(b, "FLAG", [&](B& d) {
        d.U8(0).L(0).W(0).W(32767).W(0).W(32767).W(0).W(0).U8(2).U8(1).U8(1).P(sizeObject).P(formText).L(0);
        d.W(uint16_t(table)).P(name).L(8).L(0x11223344).L(0x55667788).U8(0x9A);
    });
}

inline void Subform(B& b, int16_t table, const std::string& list, const std::string& detail)
{
    Chunk(b, "MULT", [&](B& d) { d.W(0).W(0).W(50).W(300).P("S").L(0).W(0).W(0x0200).W(uint16_t(table)).P(list).P(detail); });
}

// A toolbox string: its count, the units, a 0 unit.
inline B& VStr(B& d, const std::string& s)
{
    d.L(uint32_t(s.size()));
    for (char c : s) d.W(uint8_t(c));
    if (!s.empty()) d.W(0);
    return d;
}

// A list box over `variable` (range 2: interprocess) and its columns, each a
// column variable, a header variable and a method, the headers titled
// `titles` (else "Title").
inline void ListBox(B& b, const std::string& variable, int16_t range, int16_t method,
                    const std::vector<std::tuple<std::string, std::string, int16_t>>& columns,
                    const std::vector<std::string>& titles = {})
{
    Chunk(b, "GDTL", [&](B& d) {
        Editable(d, 0, method, "");
        d.L(0).W(0).P("LB");
        VStr(d, variable).W(uint16_t(range)).W(uint16_t(columns.size())).U8(0).U8(0).U8(0).U8(0);
    });
    size_t k = 0;
    for (const auto& [column, header, columnMethod] : columns) {
        const std::string title = k < titles.size() ? titles[k] : "Title";
        ++k;
        Chunk(b, "GCOL", [&, &column = column, &header = header, columnMethod = columnMethod](B& d) {
            VStr(d, column).W(1);
            VStr(d, header).W(1);
            VStr(d, title).W(uint16_t(columnMethod));
        });
    }
}

}  // namespace designtest
