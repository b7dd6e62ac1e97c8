// The body of each resource type the compiler knows, read from the source
// between the braces and turned into the bytes of its stored layout.
// Types without a layout take raw hex.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/rescompile/SourceReader.h"

namespace rescompile {

// Reads one body up to (not including) its closing brace.
using LayoutCompiler = std::vector<uint8_t> (*)(SourceReader& in, int16_t id);

// The compiler of a type; the raw hex compiler for unknown types.
LayoutCompiler FindLayout(uint32_t type);

std::vector<uint8_t> CompileRaw(SourceReader& in, int16_t id);
// Text: 'STR ', 'STR#', 'MENU', 'vers' and the style table 'STQz'.
std::vector<uint8_t> CompileStr(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileStrList(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileMenu(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileVersion(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileStyleTable(SourceReader& in, int16_t id);
// Dialogs: 'DLOG', 'ALRT', 'DITL'.
std::vector<uint8_t> CompileDialog(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileAlert(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileItemList(SourceReader& in, int16_t id);
// Bitmaps: 'CURS', 'ICN#', 'SICN', 'PAT#'; colour icons: 'cicn'.
std::vector<uint8_t> CompileCursor(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileIconList(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileSmallIcons(SourceReader& in, int16_t id);
std::vector<uint8_t> CompilePatternList(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileColourIcon(SourceReader& in, int16_t id);
// Colours: 'pltt', 'clut'.
std::vector<uint8_t> CompilePalette(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileColourTable(SourceReader& in, int16_t id);

// The application's menus: 'MMBR' (menu bar) and 'MITM' (one item).
std::vector<uint8_t> CompileMenuBar(SourceReader& in, int16_t id);
std::vector<uint8_t> CompileMenuItem(SourceReader& in, int16_t id);

}  // namespace rescompile
