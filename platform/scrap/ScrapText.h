// Text between the scrap's flavours and the system clipboard: the scrap
// keeps Mac Roman ('TEXT') or big-endian UTF-16 ('utxt') with CR line
// ends; the system clipboard holds UTF-8 with LF (read: LF, CR LF or CR).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

std::string MacRomanCrToUtf8Lf(const std::vector<uint8_t>& text);
std::string Utf16CrToUtf8Lf(const std::vector<uint8_t>& text);  // odd last byte ignored
// *substituted (when given): the characters Mac Roman lacks, each a '?'.
std::vector<uint8_t> Utf8LfToMacRomanCr(const std::string& utf8, int32_t* substituted = nullptr);
std::vector<uint8_t> Utf8LfToUtf16Cr(const std::string& utf8);

}  // namespace platform
