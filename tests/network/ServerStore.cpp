#include "tests/network/ServerStore.h"

#include <fstream>
#include <iterator>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/CPseudoResFile.h"
#include "resources/ResourceApi.h"
#include "resources/ServerHooks.h"
#include "resources/container/FileOrder.h"
#include "resources/server/ServerConnection.h"
#include "tools/docbuilder/LittleEndianTwin.h"

using platform::Handle;

namespace {

std::vector<uint8_t> ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Handle HandleOf(const uint8_t* data, size_t length)
{
    Handle h = platform::NewHandle(platform::Size(length));
    if (h && length) std::copy(data, data + length, *h);
    return h;
}

}  // namespace

bool ServerStore::Build(const std::string& folder, const TestServerConfig& config)
{
    // The child's copy of the store must never reach the parent's connection.
    ServerHooks() = ResServerHooks();
    ServerConnection() = ResServerConnection();
    if (!g_resManager) initresman();
    little_ = config.littleEndian;
    names_ = config.resources;

    std::vector<uint32_t> numbers;
    for (const ServerFile& f : config.files) numbers.push_back(uint32_t(f.number));
    for (const ServerResource& r : config.resources) numbers.push_back(r.file);
    for (uint32_t number : numbers) {
        if (files_.count(number)) continue;
        std::string path = folder + "/file-" + std::to_string(number) + ".qzb";
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(path, &fileSpec);
        bool copied = false;
        for (const ServerFile& f : config.files)
            copied |= uint32_t(f.number) == number && f.kind == platform::FourCC("BAS5") && !config.structureCopy.empty();
        if (copied) {
            const std::vector<uint8_t> bytes = ReadAll(config.structureCopy);
            if (bytes.empty()) return false;
            WriteAll(path, bytes);
            CPseudoResFile* file = g_resManager->OpenFile(fileSpec, false, true);
            if (!file) return false;
            files_[number] = file;
            continue;
        }
        CPseudoResFile* file = g_resManager->Create(fileSpec, platform::FourCC("QzSv"), platform::FourCC("QzDB"));
        if (!file) return false;
        for (const ServerResource& r : config.resources) {
            if (r.file != number) continue;
            std::vector<uint8_t> data = r.data;
            if (little_)
                container::ContentsToHost(r.type, data.data(), int32_t(data.size()), container::kLittleEndianFile);
            Handle h = HandleOf(data.data(), data.size());
            bool added = h && file->AddRes2(h, r.type, r.id, r.stamp ? r.stamp : 1);
            if (h) platform::DisposeHandle(h);
            if (!added) return false;
        }
        if (!file->Close(true)) return false;
        if (little_) WriteAll(path, docbuilder::LittleEndianTwin(ReadAll(path)));
        file = g_resManager->OpenFile(fileSpec, false, true);
        if (!file) return false;
        files_[number] = file;
    }
    return true;
}

void ServerStore::Close()
{
    for (const auto& [number, file] : files_) file->Close(false);
    files_.clear();
}

CPseudoResFile* ServerStore::File(uint32_t file) const
{
    auto it = files_.find(file);
    return it == files_.end() ? nullptr : it->second;
}

std::vector<ServerStore::Entry> ServerStore::List(uint32_t file) const
{
    std::vector<Entry> out;
    CPseudoResFile* f = File(file);
    Handle list = f ? f->GetResList() : nullptr;
    if (!list) return out;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*list);
    for (platform::Size at = 0; at + 18 <= platform::GetHandleSize(list); at += 18)
        out.push_back({platform::ReadBE32(p + at), platform::ReadBES16(p + at + 4), platform::ReadBE32(p + at + 14)});
    platform::DisposeHandle(list);
    return out;
}

bool ServerStore::Has(uint32_t file, uint32_t type, int16_t id) const
{
    CPseudoResFile* f = File(file);
    int32_t t, r;
    return f && f->FindID(type, id, &t, &r, true);
}

bool ServerStore::Get(uint32_t file, uint32_t type, int16_t id, std::vector<uint8_t>* data, uint32_t* stamp) const
{
    if (!Has(file, type, id)) return false;
    Handle h = File(file)->GetResFromDisk(type, id, stamp);
    if (!h) return false;
    data->assign(*h, *h + platform::GetHandleSize(h));
    platform::DisposeHandle(h);
    if (little_) container::ContentsToFile(type, data->data(), int32_t(data->size()), container::kLittleEndianFile);
    return true;
}

bool ServerStore::Put(uint32_t file, uint32_t type, int16_t id, const uint8_t* data, size_t length, uint32_t stamp)
{
    CPseudoResFile* f = File(file);
    if (!f) return false;
    std::vector<uint8_t> contents(data, data + length);
    if (little_)
        container::ContentsToHost(type, contents.data(), int32_t(contents.size()), container::kLittleEndianFile);
    Handle h = HandleOf(contents.data(), contents.size());
    bool ok = h && f->AddRes2(h, type, id, stamp) && f->UpdateRes();
    if (h) platform::DisposeHandle(h);
    return ok;
}

void ServerStore::Remove(uint32_t file, uint32_t type, int16_t id)
{
    if (!Has(file, type, id)) return;
    File(file)->RmveRes2(type, id);
    File(file)->UpdateRes();
}

int16_t ServerStore::IdByName(uint32_t type, const std::string& name) const
{
    for (const ServerResource& r : names_)
        if (r.type == type && !r.name.empty() && r.name == name) return r.id;
    // Published files keep their names in their own containers.
    for (const auto& [number, file] : files_)
        for (const Entry& e : List(number)) {
            unsigned char stored[256];
            if (e.type == type && file->GetResName(type, e.id, stored) &&
                std::string(reinterpret_cast<const char*>(stored + 1), stored[0]) == name)
                return e.id;
        }
    return 0;
}
