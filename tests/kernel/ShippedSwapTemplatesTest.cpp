// The template file the program ships defines every template number the
// program converts with, each once: a missing number leaves its records
// unconverted in a little-endian document, a second definition silently
// replaces the first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"

namespace {

// Container header, map record and map; resource contents by type; form
// page records and the attribute block; a method line; password records;
// server bodies; kernel item lists.
const std::vector<int32_t> kUsedByTheProgram = {
    1,   2,   4,   11,  13,  15,  16,  17,  19,  21,  23,  33,  35,  37,  43,  116, 118, 120,
    123, 125, 126, 127, 128, 129, 134, 137, 27,  24,  25,  28,  29,  30,  32,  31,  38,  107,
    40,  39,  64,  66,  92,  93,  95,  100, 101, 102, 138, 144, 105, 130, 131, 132};

// Every used number a template file lacks and every number it defines
// more than once; empty when neither.
std::string Problems(const std::string& text)
{
    if (InitTokensFromText(text.data(), int32_t(text.size())) != 0) return SwapFileMessage();
    std::map<int32_t, int> times;
    for (int32_t n : SwapTemplateNumbersRead()) ++times[n];
    ResetSwapTemplates();
    std::string out;
    for (int32_t n : kUsedByTheProgram)
        if (!times.count(n)) out += " lacks " + std::to_string(n);
    for (auto [n, count] : times)
        if (count > 1) out += " defines " + std::to_string(n) + " " + std::to_string(count) + " times";
    return out;
}

// The text without the template that the header line starts.
std::string Without(std::string text, const std::string& header)
{
    const size_t at = text.find(header + "\n");
    if (at != std::string::npos) text.erase(at, text.find("\nend\n", at) + 5 - at);
    return text;
}

}  // namespace

TEST(ShippedSwapTemplates, EveryUsedNumberIsDefinedOnceAndAFileThatIsNotIsRefused)
{
    std::stringstream file;
    file << std::ifstream(std::string(std::getenv("QZ_TEST_SOURCE_DIR")) + "/resources/ByteSwap.txt").rdbuf();
    const std::string shipped = file.str();
    const std::pair<std::string, std::string> rows[] = {
        {shipped, ""},
        {Without(shipped, "FieldRecord 29"), " lacks 29"},
        {Without(Without(shipped, "ContainerHeader 1"), "ServerBody144 144"), " lacks 1 lacks 144"},
        {"Again 29\nword\nend\n" + shipped, " defines 29 2 times"},
    };
    for (const auto& [text, problems] : rows) EXPECT_EQ(Problems(text), problems);
    const std::string empty = Problems("") + " ";
    for (int32_t n : kUsedByTheProgram) EXPECT_NE(empty.find(" lacks " + std::to_string(n) + " "), std::string::npos) << n;
}
