// The description language (tools/docbuilder/README.md): one statement a
// line, indentation for nesting. Reading checks the text's own rules
// (statements, options, tokens, numbers); the layout checks the rest.
#pragma once

#include <optional>
#include <string>

#include "tools/docbuilder/Model.h"

namespace docbuilder {

// Reads a whole description. On a refusal *error says where and why and
// the result is empty.
std::optional<DocumentSpec> ReadDescription(const std::string& text, const std::string& fileName, BuildError* error);

// Adds `count` objects spread over every kind, named from indexes and
// linked by a generator seeded from the document's seed.
void AddGeneratedObjects(DocumentSpec& doc, int32_t count, int line);

}  // namespace docbuilder
