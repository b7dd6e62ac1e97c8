// An SQL schema script of any bytes: scanned and parsed into a schema and
// its report, and, when it parses and is small, built into a structure in
// the scratch folder (the save dialog answered there).
#include <cstdint>
#include <string>

#include "design/sql/SqlBuild.h"
#include "design/sql/SqlScript.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        InstallKernelStoreAccess();
        return fuzz::LoadShippedTemplates();
    }();
    sql::Schema schema;
    std::string report;
    if (sql::ParseSQLText(std::string(reinterpret_cast<const char*>(data), size), &schema, &report) != 0) return 0;
    size_t fields = 0;
    for (const sql::Table& t : schema.tables) fields += t.columns.size();
    // Building is slow: small schemas only, the limits have their tests.
    if (!ready || schema.tables.size() > 12 || fields > 60) return 0;
    fuzz::ClearScratchFolder();
    ResetResManager();
    initresman();
    platform::ClearFileDialogAnswers();
    platform::PushFileDialogAnswer(fuzz::ScratchFolder() + "/Made.QzB");
    platform::FSSpec made;
    sql::CreateSQLBase(schema, fuzz::ScratchFolder() + "/script.sql", &made);
    platform::ClearFileDialogAnswers();
    ResetResManager();
    return 0;
}
