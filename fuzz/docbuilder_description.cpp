// Description text as qzdocbuild reads it: read and laid out whole (no
// file is written). Whatever the text, the result is a document or a
// refusal naming a line of the text.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "tools/docbuilder/Description.h"
#include "tools/docbuilder/Layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Keep generated documents small: a large "generate" is a slow input,
    // not a fault.
    if (size > 16384) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find("generate") != std::string::npos && text.find("generate 1") == std::string::npos &&
        text.find("generate 0") == std::string::npos)
        return 0;
    docbuilder::BuildError error;
    std::optional<docbuilder::DocumentSpec> doc = docbuilder::ReadDescription(text, "fuzz.qzdoc", &error);
    std::optional<docbuilder::LaidOut> laid;
    if (doc) laid = docbuilder::LayOut(*doc, &error);
    if (!laid) {
        int lines = 1;
        for (char c : text) lines += c == '\n';
        if (error.line < 1 || error.line > lines || error.message.empty()) std::abort();
    }
    return 0;
}
