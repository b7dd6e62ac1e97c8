#include "toolbox/files/VFile.h"

#include "platform/files/FileTypes.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/VFileStream.h"
#include "toolbox/files/VFolder.h"

VFile::VFile(const VString& path, uint32_t kind, uint32_t creator, int32_t userValue)
    : VPath(path), fUserValue(userValue), fMac(this)
{
    fMac.Init(fPath);
    Setup(kind, creator);
}

VFile::VFile(const VFolder& folder, const VString& name, uint32_t kind, uint32_t creator, int32_t userValue)
    : VPath(folder, name), fUserValue(userValue), fMac(this)
{
    fMac.Init(folder, name);
    Setup(kind, creator);
}

VFile::VFile(const platform::FSSpec& fileSpec, uint32_t kind, uint32_t creator) : fMac(this)
{
    fMac.Init(fileSpec);
    Setup(kind, creator);
    PathFromPlatform();
}

VFile::VFile(const platform::FSRef& ref, uint32_t kind, uint32_t creator) : fMac(this)
{
    fMac.Init(ref);
    Setup(kind, creator);
    PathFromPlatform();
}

VFile::~VFile() = default;

void VFile::Setup(uint32_t kind, uint32_t creator)
{
    fMac.SetFileErrorStack(&fErrorStack);
    if (kind == 0) {
        if (fMac.IsOnDisk()) fMac.ReadKindAndCreator(&fKind, &fCreator);
    } else {
        fKind = kind;
        fCreator = creator;
    }
}

void VFile::PathFromPlatform()
{
    VText path;
    if (fMac.GetHFSPath(path)) fPath.FromVString(path);
}

bool VFile::Exists()
{
    if (fStatus == kPathUnknown) {
        bool isFolder = false;
        const bool found = fMac.CheckIfExists(&isFolder);
        fStatus = !found ? kPathMissing : isFolder ? kPathOtherKind : kPathExists;
    }
    return fStatus >= kPathExists;
}

int16_t VFile::GetFullPath(VText& path)
{
    path.FromVString(fPath);
    return 0;
}

VFolder* VFile::GetParent() { return fMac.GetParent(); }

int16_t VFile::MAC_GetFSSpec(platform::FSSpec& fileSpec) { return fMac.GetFSSpec(&fileSpec); }

int16_t VFile::GetUnixPath(VText& path) { return fMac.GetUnixPath(path) ? 0 : kFileErrMissing; }

int16_t VFile::SetPermissions(uint16_t mode) { return fMac.SetPermissions(mode, true); }

int16_t VFile::MakeWritableByAll() { return SetPermissions(kWritableByAll); }

bool VFile::IsWritableByAll()
{
    uint16_t mode = 0;
    return fMac.GetPermissions(&mode) == 0 && (mode & kWritableByAll) == kWritableByAll;
}

// --- open, close, create, delete, rename -----------------------------------

int16_t VFile::Open(FileAccess access, bool resourceFork)
{
    if (fStatus >= kPathOpenRead) return kFileErrBusy;
    if (!Exists()) return kFileErrMissing;
    if (access != kAccessAny) {
        const int16_t err = fMac.Open(access, resourceFork);
        if (err == 0) fStatus = kPathOpenBase + access;
        return err;
    }
    for (FileAccess tried = kAccessSharedReadWrite; tried >= kAccessRead; --tried) {
        if (fMac.Open(tried, resourceFork) == 0) {
            fStatus = kPathOpenBase + tried;
            return 0;
        }
    }
    return kFileErrNoAccessMode;
}

int16_t VFile::Close(bool mustBeOpen)
{
    if (fStatus < kPathOpenRead) return mustBeOpen ? kFileErrNotOpen : 0;
    // A failed flush is reported, not lost behind a successful close.
    const int16_t flushed = fStatus >= kPathOpenWrite ? fMac.Flush() : 0;
    const int16_t closed = fMac.Close();
    fStatus = kPathExists;
    if (closed != 0) return kFileErrCloseFailed;
    return flushed;
}

int16_t VFile::Create(bool replace)
{
    if (fStatus >= kPathOpenRead) return kFileErrExists;
    if (Exists()) {
        if (!replace) return kFileErrExists;
        fStatus = kPathUnknown;
        const int16_t err = fMac.CreateOver();
        if (err == 0) fStatus = kPathOpenBase + kAccessReadWrite;
        return err;
    }
    fStatus = kPathUnknown;
    const int16_t err = fMac.CreateAsDataFile(true);
    if (err == 0) fStatus = kPathOpenBase + kAccessReadWrite;
    return err;
}

int16_t VFile::Delete()
{
    if (fStatus >= kPathOpenRead) return kFileErrBusy;
    if (!Exists()) return kFileErrMissing;
    fStatus = kPathUnknown;
    return fMac.Delete();
}

int16_t VFile::Rename(const VString& newName)
{
    if (fStatus >= kPathOpenRead) return kFileErrBusy;
    if (!Exists()) return kFileErrMissing;
    fStatus = kPathUnknown;
    for (int32_t i = 1; i <= newName.GetLength(); ++i)
        if (newName.GetChar(i) == u':') return kFileErrColonInName;
    VText newPath;
    const int16_t err = fMac.Rename(newName, &newPath);
    if (err == 0) fPath.FromVString(newPath);
    return err;
}

// --- data ------------------------------------------------------------------

int16_t VFile::GetData(void* buffer, uint32_t* count)
{
    if (fStatus < kPathOpenRead) {
        *count = 0;
        return kFileErrNotOpen;
    }
    // A change the writer could not write leaves nothing current to read.
    if (fWriter) {
        if (int16_t err = fWriter->FlushOut(); err != 0) {
            *count = 0;
            return err;
        }
    }
    return fMac.GetData(buffer, count);
}

int16_t VFile::PutData(const void* buffer, uint32_t count)
{
    if (fStatus < kPathOpenWrite) return kFileErrNotWritable;
    return fMac.PutData(buffer, count);
}

int16_t VFile::GetData(void* buffer, uint32_t& count, uint32_t position)
{
    if (fStatus < kPathOpenRead) {
        count = 0;
        return kFileErrNotOpen;
    }
    int16_t err = SetPos(position);
    if (err == 0) err = GetData(buffer, &count);
    if (err != 0) count = 0;
    return err;
}

int16_t VFile::GetDataFix(void* buffer, uint32_t count, uint32_t position) { return GetData(buffer, count, position); }

int16_t VFile::PutDataFix(const void* buffer, uint32_t count, uint32_t position)
{
    int16_t err = SetPos(position);
    return err != 0 ? err : PutData(buffer, count);
}

int16_t VFile::SetPos(uint32_t position)
{
    if (fStatus < kPathOpenRead) return kFileErrNotOpen;
    return fMac.SetPos(position, true);
}

int16_t VFile::SetSize(uint32_t size)
{
    if (fStatus < kPathOpenWrite) return kFileErrNotWritable;
    return fMac.SetSize(size);
}

uint32_t VFile::GetSize(ForkType fork)
{
    if (fStatus < kPathOpenRead && !Exists()) return 0xFFFFFFFF;
    if (fWriter) return fWriter->GetSize();
    int64_t size = -1;
    if (fMac.GetSize(fork, &size) != 0) return 0xFFFFFFFF;
    if (size >= int64_t(0xFFFFFFFF)) {
        fMac.Fail(platform::fileBoundsErr);
        return 0xFFFFFFFF;
    }
    return uint32_t(size);
}

// --- kinds, links, writer ----------------------------------------------------

bool VFile::IsTemplate() const { return IsTemplateFileKind(fKind); }

VPath* VFile::ResolveAlias() { return GetStatus() < kPathExists ? nullptr : fMac.ResolveAlias(); }

bool VFile::IsAliasFile() { return GetStatus() >= kPathExists && fMac.IsAliasFile(); }

int16_t VFile::SetWriter(VFileStream* writer)
{
    if (writer && fWriter && fWriter != writer) return kFileErrBusy;
    fWriter = writer;
    return 0;
}
