#include "toolbox/files/VPath.h"

#include <vector>

#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/foundation/VIntlMgr.h"

namespace {

void SetUnits(VString& target, const std::u16string& units)
{
    target.SetNull(false);
    target.FromUniBlock(units.data(), 0, int32_t(units.size()));
}

}  // namespace

VPath::VPath() { fPath.SetNull(false); }

VPath::VPath(const VPath& source) : VObject(), fStatus(source.fStatus), fPath(source.fPath), fExtension(source.fExtension)
{
}

VPath::VPath(const uint8_t* cPath, CharSet set)
{
    fPath.SetNull(false);
    if (cPath) fPath.FromCString(cPath, set);
}

VPath::VPath(const VFolder& folder, const VString& name) : fPath(folder.GetPath())
{
    fPath.SetNull(false);
    fPath.AppendVString(name);
}

VPath::VPath(const VString& path) : fPath(path) { fPath.SetNull(false); }

VPath::~VPath() = default;

bool VPath::ExistsButIsBad()
{
    Exists();
    return fStatus == kPathOtherKind;
}

int16_t VPath::GetName(VString& name)
{
    GetTargetName(fPath, name);
    return 0;
}

bool VPath::KeepExtension() const { return false; }

void VPath::BuildPath(const VString& path)
{
    fPath.SetNull(false);
    fPath.FromVString(path);
}

void VPath::BuildPath(uint8_t* buffer, int32_t size, CharSet set) const
{
    if (!buffer || size <= 0) return;
    buffer[0] = 0;
    std::string bytes;
    if (set == kCharSetUtf8) {
        bytes = ToUtf8(fPath);
    } else {
        const std::u16string units = fPath.GetCFString();
        std::vector<uint8_t> out(units.size() + 1);
        const char16_t* src = units.data();
        uint8_t* dst = out.data();
        VIntlMgr* mgr = InitDefaultIntlManager();
        if (set == kCharSetAnsi)
            mgr->Uni2Ansi(src, dst, out.data() + out.size(), int32_t(units.size()));
        else
            mgr->Uni2Mac(src, dst, out.data() + out.size(), int32_t(units.size()));
        bytes.assign(reinterpret_cast<char*>(out.data()), size_t(dst - out.data()));
    }
    // Never cut a UTF-8 character in two.
    size_t n = bytes.size() < size_t(size - 1) ? bytes.size() : size_t(size - 1);
    if (set == kCharSetUtf8)
        while (n > 0 && n < bytes.size() && (uint8_t(bytes[n]) & 0xC0) == 0x80) --n;
    for (size_t i = 0; i < n; ++i) buffer[i] = uint8_t(bytes[i]);
    buffer[n] = 0;
}

int32_t VPath::GetStatus()
{
    if (fStatus == kPathUnknown) Exists();
    return fStatus;
}

void VPath::GetExtension(VString& extension)
{
    extension.SetNull(false);
    extension.ClearString(false);
    if (IsAFolder()) return;
    const std::u16string path = fPath.GetCFString();
    for (size_t i = path.size(); i-- > 0;) {
        if (path[i] == u':') return;
        if (path[i] == u'.') {
            SetUnits(extension, path.substr(i));
            return;
        }
    }
}

void VPath::GetFileNameWithExtention(VString& name)
{
    GetName(name);
    if (fExtension.GetLength() > 0) {
        name.AppendUniChar(u'.');
        name.AppendVString(fExtension);
    }
}

void VPath::GetParentPath(const VString& path, VText& parent, PathFormat format)
{
    parent.SetNull(false);
    parent.ClearString(false);
    const std::u16string units = path.GetCFString();
    if (units.size() < 2) return;
    const char16_t sep = format == kPathColon ? u':' : format == kPathPosix ? u'/' : u'\\';
    for (size_t i = units.size() - 1; i-- > 1;) {
        if (units[i] == sep) {
            SetUnits(parent, units.substr(0, i));
            return;
        }
    }
}

void VPath::GetTargetName(const VString& path, VString& name)
{
    NameFromFullPath(path, name, 0, path.GetLength() > 0 && path.GetChar(path.GetLength()) == u':');
}

void NameFromFullPath(const VString& path, VString& name, int32_t, bool ignoreTrailingColon)
{
    name.SetNull(false);
    name.ClearString(false);
    std::u16string units = path.GetCFString();
    if (units.empty()) return;
    if (ignoreTrailingColon && units.back() == u':') units.pop_back();
    const size_t colon = units.rfind(u':');
    SetUnits(name, colon == std::u16string::npos ? units : units.substr(colon + 1));
}
