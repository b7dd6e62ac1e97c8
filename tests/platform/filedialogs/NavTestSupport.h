// A folder for the file dialog tests: "a.QzB" (kind 'BAS5', so a sidecar
// "._a.QzB"), "b.txt" ('TEXT'), ".hidden" and "Sub" holding "c.QzB".
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/FourCC.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/files/FileSpec.h"

namespace navtest {

using namespace platform;
namespace fs = std::filesystem;

class Folder {
public:
    Folder()
    {
        static int n = 0;
        root_ = fs::temp_directory_path() / ("qz_nav_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
        fs::remove_all(root_);
        fs::create_directories(root_ / "Sub");
        std::ofstream(root_ / "a.QzB") << "base";
        std::ofstream(root_ / "b.txt") << "text";
        std::ofstream(root_ / ".hidden") << "x";
        std::ofstream(root_ / "Sub" / "c.QzB") << "c";
        FInfo info;
        FSpGetFInfo(FSSpec{Path("a.QzB")}, &info);
        info.fdType = FourCC("BAS5");
        info.fdCreator = FourCC("QzA6");
        EXPECT_EQ(FSpSetFInfo(FSSpec{Path("a.QzB")}, info), noErr);  // writes "._a.QzB"
        EXPECT_EQ(FSpSetFInfo(FSSpec{Path("Sub/c.QzB")}, info), noErr);
        FSpGetFInfo(FSSpec{Path("b.txt")}, &info);
        info.fdType = FourCC("TEXT");
        EXPECT_EQ(FSpSetFInfo(FSSpec{Path("b.txt")}, info), noErr);
        ClearFileDialogAnswers();
        ResetNavPreferences();
    }
    ~Folder() { fs::remove_all(root_); }
    std::string Path(const std::string& name = "") const
    {
        return name.empty() ? fs::canonical(root_).string() : (fs::canonical(root_) / name).string();
    }

private:
    fs::path root_;
};

}  // namespace navtest
