// Asking the user for a missing part of a split archive. The open-file
// dialog lives above this layer; until it installs its function here, the
// answers queued by headless scripts are taken (a POSIX or colon path) and,
// with none queued, the question counts as cancelled.
#pragma once

class VFile;
class VString;

struct PartDialogHooks {
    // A new file the user chose in place of the one expected (named by its
    // name with extension, preference key 'VSCT'), or null when cancelled.
    VFile* (*locatePart)(const VString& expectedName) = nullptr;
};

// Installs the function given (null keeps the default behaviour).
void SetPartDialogHooks(const PartDialogHooks& hooks);
void ResetPartDialogHooks();

VFile* LocateMissingPart(const VString& expectedName);
