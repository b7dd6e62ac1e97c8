// Documents built and read for the method text tests, with the kernel's
// punctuation loaded, and the text of a method as its lines render.
#pragma once

#include <string>
#include <vector>

#include "design/links/ParseSupport.h"
#include "design/text/MethodText.h"
#include "design/text/MethodTextSupport.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/files/Forks.h"
#include "transfer/InstallTransfer.h"
#include "tests/design/ReadFixture.h"

namespace readtest {

class MethodTextFixture : public ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        LoadTokenStrings();
    }

    // Builds and reads a document; false when either fails.
    bool BuildAndRead(const std::string& description)
    {
        built_ = Build(description);
        if (built_.error != 0) return false;
        Open(built_);
        return Read() == 0;
    }
    bool ReadDemo()
    {
        built_ = docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
        if (built_.error != 0) return false;
        transfer::InstallModuleManager();  // the demo's installed component is enciphered
        Open(built_);
        return Read() == 0;
    }

    TGnlProcObjQz* Method(const std::string& name) { return static_cast<TGnlProcObjQz*>(Find(2, name)); }

    // The method's lines as they render, with the document's files current
    // as the method objects make them.
    std::vector<ProcTextLine> Rendered(TGnlProcObjQz* m, int16_t* err = nullptr)
    {
        std::vector<ProcTextLine> lines;
        ParseResFile store(&doc_);
        CompanionCurrent companion(&doc_);
        const int16_t result = WalkProcText(m->table, m->id, m, [&](const ProcTextLine& l) {
            lines.push_back(l);
            return true;
        });
        if (err) *err = result;
        return lines;
    }
    std::vector<std::string> Texts(TGnlProcObjQz* m)
    {
        std::vector<std::string> out;
        for (const ProcTextLine& l : Rendered(m)) out.push_back(l.Text());
        return out;
    }
    // What the object exports into a new file, with what SaveObj answered.
    Bytes ExportedBytes(TObjQz* obj, int16_t* result)
    {
        const std::string path = folder_ / "export.txt";
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(path, &fileSpec);
        platform::FSpDelete(fileSpec);
        platform::FSpCreate(fileSpec, 0, 0);
        int16_t file = -1;
        platform::FSpOpenDF(fileSpec, platform::fsRdWrPerm, &file);
        *result = obj->SaveObj(file);
        platform::FSClose(file);
        return FileBytes(path);
    }
    // What the method exports into a new file.
    std::string Exported(TGnlProcObjQz* m)
    {
        int16_t result = -1;
        const Bytes written = ExportedBytes(m, &result);
        EXPECT_EQ(result, 0);
        return std::string(written.begin(), written.end());
    }

    docbuilder::BuildResult built_;
};

}  // namespace readtest
