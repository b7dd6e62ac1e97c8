// Documents on disk for the tests of opening, creating and moving them: the
// shipped application resources (version record, messages, alerts and the
// password dialog), the shipped byte-swap templates, a store, and documents
// made by the document builder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "design/documents/CreateQzLib.h"
#include "design/documents/DocResources.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "tests/app/AppFixture.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tools/docbuilder/DocBuilder.h"

namespace doctest {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

class DocFiles : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetDocResources();
        ResetPasswordTables();
        ResetResManager();
        initresman();
        InstallKernelStoreAccess();
        G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(G_MainResFile, 0);
        Bytes templates;
        ASSERT_EQ(platform::ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/resources/ByteSwap.txt", &templates), 0);
        ASSERT_EQ(InitTokensFromText(templates.data(), int32_t(templates.size())), 0);
        docs_ = folder_ / "docs";
        std::filesystem::create_directories(docs_);
    }
    void TearDown() override
    {
        platform::ClearAllFaults();
        ResetPasswordTables();
        ResetDocResources();
        ResetResManager();
        ResetSwapTemplates();
        AppFixture::TearDown();
    }

    // Builds a document from a description; answers its data file.
    platform::FSSpec Build(const std::string& description)
    {
        const docbuilder::BuildResult r = docbuilder::BuildDocument(description, "test.qzdoc", docs_);
        EXPECT_EQ(r.error, 0) << r.message;
        return Spec(r.dataPath);
    }
    platform::FSSpec Spec(const std::string& path)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(path, &fileSpec);
        return fileSpec;
    }
    platform::FSSpec InFolder(const std::string& name) { return Spec(docs_ + "/" + name); }
    static Bytes Read(const platform::FSSpec& fileSpec)
    {
        Bytes bytes;
        platform::ReadWholeFile(fileSpec.path, &bytes);
        return bytes;
    }

    std::string docs_;  // the documents' folder

    struct Opened {
        int16_t err = 0;
        int16_t rsrFile = -1, container = -1, other = -1;
        std::string password;
    };
    // Opens with the scripted input (nothing when empty).
    Opened Open(const platform::FSSpec& fileSpec, uint8_t isStructure, platform::Script script = {})
    {
        Opened o;
        unsigned char password[16] = {0};
        {
            platform::testing::HeadlessRun run(std::move(script));
            o.err = OpenQzB(isStructure, fileSpec, &o.rsrFile, &o.container, &o.other, password);
        }
        o.password.assign(reinterpret_cast<const char*>(password + 1), password[0]);
        return o;
    }
    static void Close(const Opened& o) { CloseQzB(o.rsrFile, o.container, o.other, -1); }
    // Closes a document as one its read accepted: what the open changed is
    // written first.
    static void CloseAccepted(const Opened& o)
    {
        EXPECT_EQ(AcceptQzB(o.rsrFile, o.container), 0);
        Close(o);
    }

    // Every store file and resource file a document could leave open.
    static int32_t OpenContainers() { return int32_t(CPseudoResManager::Files().size()); }

    // The bytes of a container resource of an open container.
    static Bytes Resource(int16_t container, uint32_t type, int16_t id)
    {
        useres(container);
        platform::Handle h = xget1res(type, id);
        if (!h || !*h) return {};
        return Bytes(*h, *h + platform::GetHandleSize(h));
    }
};

}  // namespace doctest
