#include "resources/StoreGuard.h"
#include "resources/CPseudoResManager.h"

#include <algorithm>

#include "platform/core/Memory.h"
#include "resources/server/ServerClient.h"

using namespace platform;

int16_t reserr = 0;
CPseudoResManager* g_resManager = nullptr;
Handle g_emptyResHandle = nullptr;
int32_t intervalresource = 480;

CPseudoResManager::~CPseudoResManager()
{
    while (sFirst) sFirst->Close(false);
    while (!g_files.empty()) delete g_files.back();
}

uint32_t CPseudoResManager::ServerTimeOffset() { return uint32_t(ServerClient().timeOffset); }
int16_t CPseudoResManager::PseudoFileNum() { return NextPseudoRef(); }
uint32_t CPseudoResManager::ServerDBFile() { return ServerClient().structureFile; }

OSErr CPseudoResManager::ReceiveResFiles()
{
    return Guarded<OSErr>(kResMemFull, [&]() -> OSErr {
        ServerFileList list;
        return AskFileList(&list);
    });
}

void NoteStoreMemoryFull() noexcept { CPseudoResManager::SetLastError(kResMemFull); }

void CPseudoResManager::SetLastError(OSErr err)
{
    g_lastError = err;
    reserr = err;
}

int16_t CPseudoResManager::GetNextID()
{
    for (int32_t tries = 0; tries < 32767; ++tries) {
        int16_t id = g_nextID;
        g_nextID = g_nextID == INT16_MAX ? 1 : int16_t(g_nextID + 1);
        bool used = std::any_of(g_files.begin(), g_files.end(), [id](CPseudoResFile* f) { return f->FileNumber() == id; });
        if (!used) return id;
    }
    return 0;
}

void CPseudoResManager::AddResFile(CPseudoResFile* file) { g_files.push_back(file); }

void CPseudoResManager::RemoveFile(CPseudoResFile* file)
{
    g_files.erase(std::remove(g_files.begin(), g_files.end(), file), g_files.end());
    ResFileClosed(file);
    if (g_dbResFile == file) g_dbResFile = nullptr;
}

void CPseudoResManager::ResFileCreated(CPseudoResFile* file)
{
    ResFileClosed(file);
    file->SetNextFile(sFirst);
    sFirst = file;
    sCurrent = file;
}

void CPseudoResManager::ResFileClosed(CPseudoResFile* file)
{
    CPseudoResFile* before = nullptr;
    CPseudoResFile* f = sFirst;
    while (f && f != file) {
        before = f;
        f = f->NextFile();
    }
    if (!f) return;
    if (before) {
        before->SetNextFile(file->NextFile());
    } else {
        sFirst = file->NextFile();
    }
    if (sCurrent == file) sCurrent = file->NextFile() ? file->NextFile() : before;
    file->SetNextFile(nullptr);
}

CPseudoResFile* CPseudoResManager::FindFile(int16_t fileNumber)
{
    if (fileNumber == 0) return nullptr;
    for (auto it = g_files.rbegin(); it != g_files.rend(); ++it)
        if ((*it)->FileNumber() == fileNumber) return *it;
    SetLastError(kResNoFile);
    return nullptr;
}

bool CPseudoResManager::ValidResFile(CPseudoResFile* file) const
{
    return std::find(g_files.begin(), g_files.end(), file) != g_files.end();
}

bool CPseudoResManager::SetCurFile(int16_t fileNumber)
{
    for (CPseudoResFile* f = sFirst; f; f = f->NextFile())
        if (f->FileNumber() == fileNumber) {
            sCurrent = f;
            SetLastError(noErr);
            return true;
        }
    SetLastError(kResNoFile);
    return false;
}

void CPseudoResManager::SetDBResFalse(CPseudoResFile* file)
{
    g_dbResFile = file;
    if (file) file->SetKind(FourCC("BAS5"));
}

CPseudoResFile* CPseudoResManager::FindRes(Handle contents, int32_t* typeIndex, int32_t* recordIndex)
{
    return Guarded<CPseudoResFile*>(nullptr, [&]() -> CPseudoResFile* {
        int32_t t = 0, r = 0;
        if (contents)
            for (auto it = g_files.rbegin(); it != g_files.rend(); ++it)
                if ((*it)->FindRes(contents, &t, &r)) {
                    if (typeIndex) *typeIndex = t;
                    if (recordIndex) *recordIndex = r;
                    return *it;
                }
        SetLastError(kResNoSuchHandle);
        return nullptr;
    });
}

CPseudoResFile* CPseudoResManager::FindID(ResType type, int16_t id, bool includeEnciphered, int32_t* typeIndex,
                                          int32_t* recordIndex)
{
    return Guarded<CPseudoResFile*>(nullptr, [&]() -> CPseudoResFile* {
        int32_t t = 0, r = 0;
        for (CPseudoResFile* f = sCurrent; f; f = f->NextFile())
            if (f->FindID(type, id, &t, &r, includeEnciphered)) {
                if (typeIndex) *typeIndex = t;
                if (recordIndex) *recordIndex = r;
                SetLastError(noErr);
                return f;
            }
        SetLastError(kResNotFound);
        return nullptr;
    });
}

CPseudoResFile* CPseudoResManager::HomeRes(Handle contents) { return FindRes(contents, nullptr, nullptr); }

bool CPseudoResManager::AddRes(Handle contents, ResType type, int16_t id, bool convert)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (!sCurrent) {
            SetLastError(kResNoFile);
            return false;
        }
        return sCurrent->AddRes(contents, type, id, convert);
    });
}

bool CPseudoResManager::AddResNow(const void* data, int32_t length, ResType type, int16_t id, uint32_t stamp)
{
    return Guarded<bool>(false, [&]() -> bool {
        if (!sCurrent) {
            SetLastError(kResNoFile);
            return false;
        }
        return sCurrent->AddResNow(data, length, type, id, stamp);
    });
}

Handle CPseudoResManager::GetRes(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        CPseudoResFile* f = FindID(type, id, includeEnciphered, nullptr, nullptr);
        return f ? f->GetRes(type, id, includeEnciphered) : nullptr;
    });
}

bool CPseudoResManager::ApplyToRes(ResType type, int16_t id, bool includeEnciphered, CPseudoResFunctor& functor)
{
    return Guarded<bool>(false, [&]() -> bool {
        for (CPseudoResFile* f = sCurrent; f; f = f->NextFile()) {
            if (f->ApplyToRes(type, id, includeEnciphered, functor)) return true;
            if (g_lastError != kResNotFound) return false;
        }
        SetLastError(kResNotFound);
        return false;
    });
}

int16_t CPseudoResManager::GetResID(ResType type, const unsigned char* name, bool flag)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        for (CPseudoResFile* f = sCurrent; f; f = f->NextFile())
            if (int16_t id = f->GetResID(type, name, flag)) return id;
        return 0;
    });
}

bool CPseudoResManager::GetResName(ResType type, int16_t id, unsigned char* name)
{
    return Guarded<bool>(false, [&]() -> bool {
        name[0] = 0;
        for (CPseudoResFile* f = sCurrent; f; f = f->NextFile()) {
            if (f->GetResName(type, id, name)) return true;
            if (g_lastError == kResMemFull) break;
        }
        name[0] = 0;
        return false;
    });
}

bool CPseudoResManager::SetResName(ResType type, int16_t id, const unsigned char* name)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindID(type, id, true, nullptr, nullptr);
        if (!f) return false;
        return f->SetResName(type, id, name);
    });
}

Handle CPseudoResManager::GetResNameList(ResType type)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        if (!sCurrent) {
            SetLastError(kResNoFile);
            return nullptr;
        }
        return sCurrent->GetResNameList(type);
    });
}

VWordArray* CPseudoResManager::GetResIDList(ResType type)
{
    return Guarded<VWordArray*>(nullptr, [&]() -> VWordArray* {
        if (!sCurrent) {
            SetLastError(kResNoFile);
            return nullptr;
        }
        return sCurrent->GetResIDList(type);
    });
}

VLongArray* CPseudoResManager::GetTypeList()
{
    return Guarded<VLongArray*>(nullptr, [&]() -> VLongArray* {
        if (!sCurrent) {
            SetLastError(kResNoFile);
            return nullptr;
        }
        return sCurrent->GetTypeList();
    });
}

int32_t CPseudoResManager::GetResSize(ResType type, int16_t id)
{
    return Guarded<int32_t>(-1, [&]() -> int32_t {
        for (CPseudoResFile* f = sCurrent; f; f = f->NextFile()) {
            int32_t size = f->GetResSize(type, id);
            if (size >= 0) return size;
        }
        SetLastError(kResNotFound);
        return -1;
    });
}

bool CPseudoResManager::WriteResource(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        return f && f->WriteResource(contents, 0, 0);
    });
}

Handle CPseudoResManager::GetResConnect(ResType type, int16_t id)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        if (!sCurrent) {
            SetLastError(kResNoFile);
            return nullptr;
        }
        CPseudoResFile* f = FindID(type, id, true, nullptr, nullptr);
        return f ? f->GetResConnect(type, id) : nullptr;
    });
}

bool CPseudoResManager::ActionRes(Handle contents, int16_t action)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        return f && f->ActionRes(contents, action);
    });
}

bool CPseudoResManager::IsCrypted(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        return f && f->IsCrypted(contents);
    });
}

uint32_t CPseudoResManager::GetTimeStamp(Handle contents)
{
    return Guarded<uint32_t>(0, [&]() -> uint32_t {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        return f ? f->GetTimeStamp(contents) : 0;
    });
}

bool CPseudoResManager::GetResInfo(Handle contents, int16_t* id, ResType* type)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        if (!f) {
            if (id) *id = -10000;
            if (type) *type = FourCC("!!!!");
            SetLastError(kResNotFound);
            return false;
        }
        return f->GetResInfo(contents, id, type);
    });
}

int16_t CPseudoResManager::CountRes(ResType type, bool includeEnciphered)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        if (!sCurrent) {
            SetLastError(kResNoSuchHandle);
            return 0;
        }
        return sCurrent->CountRes(type, includeEnciphered);
    });
}

int16_t CPseudoResManager::UniqueID(ResType type)
{
    return Guarded<int16_t>(0, [&]() -> int16_t {
        if (!sCurrent) {
            SetLastError(kResNoSuchHandle);
            return 0;
        }
        return sCurrent->UniqueID(type);
    });
}

bool CPseudoResManager::UnloadRes(ResType type, int16_t id)
{
    return Guarded<bool>(false, [&]() -> bool {
        bool any = false;
        for (CPseudoResFile* f = sFirst; f; f = f->NextFile()) any = f->UnloadRes(type, id) || any;
        return any;
    });
}

bool CPseudoResManager::ReloadRes(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        return f && f->ReloadRes(contents);
    });
}

bool CPseudoResManager::RmveRes(Handle contents)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindRes(contents, nullptr, nullptr);
        return f && f->RmveRes(contents);
    });
}

bool CPseudoResManager::RmveRes(ResType type, int16_t id, bool includeEnciphered)
{
    return Guarded<bool>(false, [&]() -> bool {
        CPseudoResFile* f = FindID(type, id, includeEnciphered, nullptr, nullptr);
        return f && f->RmveRes(type, id, includeEnciphered);
    });
}

Handle CPseudoResManager::GetResLock(ResType type, int16_t id, bool* locked, bool flag)
{
    return Guarded<Handle>(nullptr, [&]() -> Handle {
        if (locked) *locked = false;
        CPseudoResFile* f = FindID(type, id, flag, nullptr, nullptr);
        return f ? f->GetResLock(type, id, locked, flag) : nullptr;
    });
}

CPseudoResFile* CPseudoResManager::OpenFile(const FSSpec& fileSpec, bool readOnly, bool acceptMarked)
{
    return Guarded<CPseudoResFile*>(nullptr, [&]() -> CPseudoResFile* {
        auto* file = new CPseudoResFile(fileSpec, readOnly);
        if (!file) {
            SetLastError(kResMemFull);
            return nullptr;
        }
        if (!file->Init(acceptMarked)) {
            OSErr err = g_lastError;
            delete file;
            SetLastError(err);
            return nullptr;
        }
        return file;
    });
}

CPseudoResFile* CPseudoResManager::Create(const FSSpec& fileSpec, OSType creator, OSType fileType)
{
    return Guarded<CPseudoResFile*>(nullptr, [&]() -> CPseudoResFile* {
        auto* file = new CPseudoResFile(fileSpec, false);
        if (!file) {
            SetLastError(kResMemFull);
            return nullptr;
        }
        if (!file->Create(creator, fileType)) {
            OSErr err = g_lastError;
            delete file;
            SetLastError(err);
            return nullptr;
        }
        return file;
    });
}
