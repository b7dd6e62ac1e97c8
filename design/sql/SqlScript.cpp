#include "design/sql/SqlScript.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/dialogs/Messages.h"
#include "design/sql/SqlBuild.h"
#include "design/sql/SqlScanner.h"
#include "design/sql/SqlScriptText.h"
#include "platform/core/Errors.h"
#include "platform/files/TextFiles.h"
#include "platform/files/WholeFile.h"
#include "platform/text/SingleByteSets.h"
#include "platform/text/Utf8.h"

namespace sql {
namespace {

std::string Item(int16_t index)
{
    unsigned char text[256];
    MyGetIndString(text, 1028, index);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

// The script's file and its report's: those the Mac Roman paths name, or
// the file `given` names and, when the report's path is the script's and
// more, that path and the same more.
void FilesOf(const unsigned char* scriptPath, const unsigned char* reportPath, const platform::FSSpec& given,
             std::string* script, std::string* report)
{
    auto text = [](const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); };
    auto utf8 = [](const std::string& roman) {
        return platform::MacRomanToUtf8String(reinterpret_cast<const uint8_t*>(roman.data()), int32_t(roman.size()));
    };
    const std::string scriptText = text(scriptPath), reportText = text(reportPath);
    const bool beside = !given.path.empty() && reportText.compare(0, scriptText.size(), scriptText) == 0;
    *script = given.path.empty() ? utf8(scriptText) : given.path;
    *report = beside ? given.path + utf8(reportText.substr(scriptText.size())) : utf8(reportText);
}

int16_t ResultOf(const ParseError& error)
{
    switch (error.code) {
    case 0: return 0;
    case kOutOfMemory: return platform::memFullErr;
    case kTableLimit: return kTooManyTables;
    case kColumnLimit: return kTooManyFields;
    default: return -1;
    }
}

}  // namespace

void InitSQL(Schema* schema)
{
    auto report = std::move(schema->report);
    *schema = Schema{};
    schema->report = std::move(report);
}

void DisposeSQL(Schema* schema)
{
    auto report = std::move(schema->report);
    *schema = Schema{};
    schema->report = std::move(report);
}

namespace {

// A word of the script as the report shows it: '?' for each character Mac
// Roman lacks.
std::string Shown(std::string word)
{
    std::replace(word.begin(), word.end(), kUnheldCharacter, '?');
    return word;
}

// 'STR#' 1028: the remarks of a script read as Windows-1252 or Mac Roman,
// the words of a remark of characters left out, and those of a part of the
// script that could not be read.
constexpr int16_t kWindows1252Text = 13, kLeftOutText = 14, kMacRomanText = 17, kByteText = 18,
                  kNotUtf8Text = 19, kNulText = 20, kNotUtf16Text = 21, kOddByteText = 22;

std::string Hex(uint32_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int i = digits - 1; i >= 0; --i) text += kDigits[(value >> (4 * i)) & 0xF];
    return text;
}

// "Line N, byte B: " and what could not be read there.
void RemarkUnread(Schema& schema, const UnreadPart& part)
{
    std::string text = Item(1) + " " + std::to_string(part.line) + ", " + Item(kByteText) + " " +
                       std::to_string(part.byte) + ": ";
    switch (part.kind) {
    case UnreadPart::Kind::NotUtf8: {
        uint8_t roman = '?';
        platform::UnicodeToMacRoman(platform::Windows1252ToUnicode(uint8_t(part.value)), &roman);
        text += Hex(part.value, 2) + " " + Item(kNotUtf8Text) + " \"" + char(roman) + "\".";
        break;
    }
    case UnreadPart::Kind::Nul: text += Item(kNulText); break;
    case UnreadPart::Kind::NotUtf16: text += Hex(part.value, 4) + " " + Item(kNotUtf16Text); break;
    case UnreadPart::Kind::OddByte: text += Hex(part.value, 2) + " " + Item(kOddByteText); break;
    }
    Remark(schema, text);
}

// "Line N left out: "C" in WRITTEN, which is read as READ", or for a
// character outside names "Line N left out: "C"".
void RemarkLeftOut(Schema& schema, int32_t line, const std::string& written, const std::string& read)
{
    std::string left;
    for (size_t i = 0, j = 0; i < written.size(); ++i) {
        if (j < read.size() && written[i] == read[j]) ++j;
        else left += written[i];
    }
    std::string text = Item(1) + " " + std::to_string(line) + " " + Item(kLeftOutText) + " \"" + Shown(left) + "\"";
    if (!read.empty())
        text += " " + Item(kLeftOutText + 1) + " " + Shown(written) + ", " + Item(kLeftOutText + 2) + " " + Shown(read);
    Remark(schema, text);
}

}  // namespace

std::string _SQLError(int32_t line, int16_t code, const std::string& token)
{
    return Item(1) + " " + std::to_string(line) + " " + Item(code) + " " + Item(2) + " " + Shown(token) + "\n";
}

void yyerror(Schema& schema, const ParseError& error)
{
    if (schema.report) schema.report(_SQLError(error.line, error.code, error.token));
}

void _c2pStr(char* text)
{
    const size_t n = std::min<size_t>(std::strlen(text), 255);
    std::memmove(text + 1, text, n);
    text[0] = char(n);
}

int16_t ParseSQLText(const std::string& script, Schema* schema, std::string* report)
{
    try {
        InitSQL(schema);
        schema->report = [report](const std::string& line) { *report += line; };
        const ScriptText read = ReadScriptText(script, uint8_t(kUnheldCharacter));
        if (read.encoding == ScriptEncoding::Windows1252) Remark(*schema, Item(kWindows1252Text));
        if (read.encoding == ScriptEncoding::MacRoman) Remark(*schema, Item(kMacRomanText));
        for (const UnreadPart& part : read.unread) RemarkUnread(*schema, part);
        const std::string& text = read.text;
        size_t at = 0;
        Scanner scanner(
            [&](char* buffer, int32_t size) {
                const size_t n = std::min(size_t(size), text.size() - at);
                std::memcpy(buffer, text.data() + at, n);
                at += n;
                return int32_t(n);
            },
            schema->report);
        scanner.OnLeftOut([schema](int32_t line, const std::string& written, const std::string& read) {
            RemarkLeftOut(*schema, line, written, read);
        });
        const ParseError error = ParseScript(scanner, *schema);
        if (error.code) yyerror(*schema, error);
        return ResultOf(error);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

}  // namespace sql

int16_t SQL(const unsigned char* scriptPath, const unsigned char* reportPath, platform::FSSpec* fileSpec)
{
    try {
        const std::string script(reinterpret_cast<const char*>(scriptPath + 1), scriptPath[0]);
        std::string scriptFile, reportFile;
        sql::FilesOf(scriptPath, reportPath, *fileSpec, &scriptFile, &reportFile);
        std::vector<uint8_t> bytes;
        if (const platform::OSErr err = platform::ReadWholeFile(scriptFile, &bytes)) return err;
        std::string report;
        sql::Schema schema;
        int16_t result = sql::ParseSQLText(std::string(bytes.begin(), bytes.end()), &schema, &report);
        // The report lands as a text file, whole or not at all.
        const int16_t written = platform::WriteTextDocument(reportFile, report.data(), report.size(), 0);
        if (result == 0) result = written;
        if (result == 0) result = sql::CreateSQLBase(schema, script, fileSpec);
        if (result == 0 && schema.remarks) result = sql::kMadeWithRemarks;
        sql::DisposeSQL(&schema);
        return result;
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}
