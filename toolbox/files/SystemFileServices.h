// What the system object and the file objects ask of each other: the
// running program's file for the system object, and the system object's
// file-kind table for the files, and the open-file dialog for both the
// system object and the archive reader's missing parts. Start-up calls it
// once the system object exists.
#pragma once

#include <cstdint>

class VFile;
class VString;

void InstallSystemFileServices();

constexpr uint32_t kPartDialogKey = 0x56534354;  // 'VSCT': the folder last used for parts

// Asks for a missing part of a split archive: every file shown, the
// expected name given, the folder last used for parts. Null when cancelled.
VFile* LocatePartWithDialog(const VString& expectedName);
