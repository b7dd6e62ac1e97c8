// The document builder: structure and library documents written from a
// text description (README.md beside this file), the same bytes every
// time. Tests and benchmarks call it directly; qzdocbuild is its command.
//
// A description is read and laid out whole before anything is written: a
// refusal names the description and the line and leaves no file. The
// files go through the resource store's and the platform's own writers.
#pragma once

#include <cstdint>
#include <string>

#include "tools/docbuilder/Layout.h"
#include "tools/docbuilder/Model.h"

namespace docbuilder {

struct BuildResult {
    int16_t error = 0;     // 0, or the result code of the failed step
    std::string message;   // what went wrong, naming the line for a refusal
    std::string dataPath, companionPath, manifestPath;
};

// Reads, lays out and writes the document into `folder` (which must
// exist). Any files of the same names there are replaced.
BuildResult BuildDocument(const std::string& description, const std::string& descriptionName, const std::string& folder);
BuildResult BuildDocumentFile(const std::string& descriptionPath, const std::string& folder);

// Writes an already laid-out document.
BuildResult WriteDocument(const LaidOut& doc, const std::string& folder);

// The refusal code of a description that cannot be built.
constexpr int16_t kDescriptionRefused = -50;

}  // namespace docbuilder
