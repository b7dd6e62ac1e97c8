#include "forms/identity/FileIdentification.h"

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

const ResType kSignatureType = FourCC("QzSG");
const ResType kIdentityType = FourCC("QzID");

}  // namespace

bool getQzSGFromResHandle(Handle resource, ResType type, int16_t* value)
{
    if (!resource || !*resource) return false;
    const size_t size = size_t(GetHandleSize(resource));
    const auto* p = reinterpret_cast<const uint8_t*>(*resource);
    size_t at = 0;
    if (type == kIdentityType) {
        if (size < 1) return false;
        at = 1 + size_t(p[0]);
    } else if (type != kSignatureType) {
        return false;
    }
    if (size < at + 2) return false;
    *value = int16_t(ReadBE16(p + at));
    return true;
}

int16_t getIDFromResFile(int16_t file, ResType type, int16_t id, int16_t* value)
{
    // File 0 would name the oldest open file.
    if (file <= 0) return resFNotFound;
    const int16_t saved = CurResFile();
    UseResFile(file);
    OSErr err = ResError();
    if (err == noErr) {
        // Loaded here only, so released here: a handle another caller
        // holds is left loaded.
        SetResLoad(false);
        Handle h = Get1Resource(type, id);
        SetResLoad(true);
        err = ResError();
        if (h) {
            const bool wasLoaded = *h && GetHandleSize(h) > 0;
            if (!wasLoaded) LoadResource(h);
            err = ResError();
            if (err == noErr && !getQzSGFromResHandle(h, type, value)) err = resNotFound;
            if (!wasLoaded && *h && GetHandleSize(h) > 0) ReleaseResource(h);
        } else if (err == noErr) {
            err = resNotFound;
        }
    }
    UseResFile(saved);
    return err;
}

int16_t cQzIdentify(int16_t file, int16_t* signature, int16_t* version)
{
    if (const int16_t err = getIDFromResFile(file, kSignatureType, 0, signature)) return err;
    return getIDFromResFile(file, kIdentityType, *signature, version);
}

int16_t checkVersions(int16_t first, int16_t second)
{
    int16_t firstSignature = 0, firstVersion = 0, secondSignature = 0, secondVersion = 0;
    if (const int16_t err = cQzIdentify(first, &firstSignature, &firstVersion))
        return err == memFullErr ? err : int16_t(-4);
    if (const int16_t err = cQzIdentify(second, &secondSignature, &secondVersion))
        return err == memFullErr ? err : int16_t(-5);
    if (firstSignature == secondSignature) return -1;
    int16_t needed = 0;
    if (const int16_t err = getIDFromResFile(first, kIdentityType, secondSignature, &needed))
        return err == memFullErr ? err : int16_t(-1);
    if (needed > secondVersion) return -2;
    const int16_t err = getIDFromResFile(second, kIdentityType, firstSignature, &needed);
    if (err == resNotFound) return 0;
    if (err != 0) return err;
    return firstVersion < needed ? -3 : 0;
}
