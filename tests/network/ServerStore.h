// The resource table of the test database server: one container file of
// the store per server file, little-endian for a little-endian server.
// Contents cross this class in the server's byte order. It lives in the
// server's child process only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/network/TestServer.h"

class CPseudoResFile;

class ServerStore {
public:
    // Builds the containers in `folder` from the configuration; false when
    // one cannot be made.
    bool Build(const std::string& folder, const TestServerConfig& config);
    // Closes the files, which stay in their folder.
    void Close();

    struct Entry {
        uint32_t type = 0;
        int16_t id = 0;
        uint32_t stamp = 0;
    };
    // The file's resources in map order.
    std::vector<Entry> List(uint32_t file) const;
    bool Has(uint32_t file, uint32_t type, int16_t id) const;
    bool Get(uint32_t file, uint32_t type, int16_t id, std::vector<uint8_t>* data, uint32_t* stamp) const;
    // False when the server has no such file.
    bool Put(uint32_t file, uint32_t type, int16_t id, const uint8_t* data, size_t length, uint32_t stamp);
    void Remove(uint32_t file, uint32_t type, int16_t id);
    // 0 when no resource of the type has the name.
    int16_t IdByName(uint32_t type, const std::string& name) const;

private:
    CPseudoResFile* File(uint32_t file) const;

    bool little_ = false;
    std::map<uint32_t, CPseudoResFile*> files_;
    std::vector<ServerResource> names_;
};
