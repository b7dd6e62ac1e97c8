// The owner of every container file: the chain of opened files with the
// current one, the lookups that pick a file for each request, the last
// error (mirrored in reserr) and the numbering of files.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "resources/CPseudoResFile.h"
#include "resources/ResTypes.h"
#include "toolbox/foundation/VObject.h"

// The outcome of the last resource-store operation (0 = success).
extern int16_t reserr;

class CPseudoResManager : public VObject {
public:
    using Handle = platform::Handle;
    using ResType = platform::ResType;

    CPseudoResManager() = default;
    // Closes every file still open, without committing.
    ~CPseudoResManager() override;

    // The current file only.
    virtual bool AddRes(Handle contents, ResType type, int16_t id, bool convert);
    virtual bool AddResNow(const void* data, int32_t length, ResType type, int16_t id, uint32_t stamp);
    // The chain from the current file towards older files.
    virtual Handle GetRes(ResType type, int16_t id, bool includeEnciphered);
    virtual bool ApplyToRes(ResType type, int16_t id, bool includeEnciphered, CPseudoResFunctor& functor);
    virtual int16_t GetResID(ResType type, const unsigned char* name, bool flag);
    virtual bool GetResName(ResType type, int16_t id, unsigned char* name);
    virtual bool SetResName(ResType type, int16_t id, const unsigned char* name);
    virtual Handle GetResNameList(ResType type);
    virtual VWordArray* GetResIDList(ResType type);
    virtual VLongArray* GetTypeList();
    virtual int32_t GetResSize(ResType type, int16_t id);
    // The file holding the handle.
    virtual bool WriteResource(Handle contents);
    virtual Handle GetResConnect(ResType type, int16_t id);
    virtual CPseudoResFile* HomeRes(Handle contents);

    // Files by number (0 is never a file: null without touching the error).
    CPseudoResFile* FindFile(int16_t fileNumber);
    bool ValidResFile(CPseudoResFile* file) const;
    // A file opened or created: first and current in the chain.
    static void ResFileCreated(CPseudoResFile* file);
    // Takes a file out of the chain; the current file moves to an older one.
    static void ResFileClosed(CPseudoResFile* file);
    // Construction and destruction of file objects.
    static void AddResFile(CPseudoResFile* file);
    static void RemoveFile(CPseudoResFile* file);
    bool SetCurFile(int16_t fileNumber);

    CPseudoResFile* FindRes(Handle contents, int32_t* typeIndex, int32_t* recordIndex);
    CPseudoResFile* FindID(ResType type, int16_t id, bool includeEnciphered, int32_t* typeIndex, int32_t* recordIndex);
    bool ActionRes(Handle contents, int16_t action);
    bool IsCrypted(Handle contents);
    uint32_t GetTimeStamp(Handle contents);
    bool GetResInfo(Handle contents, int16_t* id, ResType* type);
    int16_t CountRes(ResType type, bool includeEnciphered);
    int16_t UniqueID(ResType type);
    bool UnloadRes(ResType type, int16_t id);
    bool ReloadRes(Handle contents);
    bool RmveRes(Handle contents);
    bool RmveRes(ResType type, int16_t id, bool includeEnciphered);
    Handle GetResLock(ResType type, int16_t id, bool* locked, bool flag);
    // Opens an existing container; null on failure (reserr says why).
    CPseudoResFile* OpenFile(const platform::FSSpec& fileSpec, bool readOnly, bool acceptMarked);
    // Creates a new container (or opens the existing one at fileSpec).
    CPseudoResFile* Create(const platform::FSSpec& fileSpec, platform::OSType creator, platform::OSType fileType);
    // The next file number: 1 ... 32767, then again from 1, skipping
    // numbers still in use.
    static int16_t GetNextID();
    void SetDBResFalse(CPseudoResFile* file);

    CPseudoResFile* CurrentFile() const { return sCurrent; }
    CPseudoResFile* FirstFile() const { return sFirst; }

    static void SetLastError(platform::OSErr err);
    static platform::OSErr LastError() { return g_lastError; }
    // Local clock minus the server's, in seconds (0 until known).
    static uint32_t ServerTimeOffset();
    // Client mode: the next pseudo reference of a server-backed file, the
    // server's number of the structure file, and request 194 recording the
    // server's files.
    static int16_t PseudoFileNum();
    static uint32_t ServerDBFile();
    static platform::OSErr ReceiveResFiles();
    // What the last change of a server's file that failed on the way left
    // on the server (CPseudoResFile::ServerChangeLeft), until taken once.
    static void NoteServerChangeLeft(int16_t left) { sServerChangeNote = left; }
    static int16_t TakeServerChangeNote()
    {
        const int16_t left = sServerChangeNote;
        sServerChangeNote = 0;
        return left;
    }
    static ResChangeHook ChangeHook() { return sChangeHook; }
    static void SetChangeHook(ResChangeHook hook) { sChangeHook = hook; }
    static CPseudoResFile* DBResFile() { return g_dbResFile; }
    static const std::vector<CPseudoResFile*>& Files() { return g_files; }

private:
    static inline std::vector<CPseudoResFile*> g_files;
    static inline CPseudoResFile* sCurrent = nullptr;
    static inline CPseudoResFile* sFirst = nullptr;
    static inline CPseudoResFile* g_dbResFile = nullptr;
    static inline int16_t g_nextID = 1;
    static inline platform::OSErr g_lastError = 0;
    static inline ResChangeHook sChangeHook = nullptr;
    static inline int16_t sServerChangeNote = 0;

    friend void ResetResManager();
};

// The store's process-wide state, made by initresman.
extern CPseudoResManager* g_resManager;
extern platform::Handle g_emptyResHandle;
// Ticks between change polls of server-backed files.
extern int32_t intervalresource;
