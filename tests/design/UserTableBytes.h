// Flattened password tables written byte by byte (big-endian, tagged
// layout), for the tests of the users and their logins.
#pragma once

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "design/documents/Passwords.h"
#include "kernel/standins/EncrypteText.h"
#include "platform/core/Memory.h"
#include "resources/swap/PasswordTableKey.h"

namespace usertables {

using Bytes = std::vector<uint8_t>;

struct UserRow {
    std::string name, password;
    int32_t state = 1;
    int32_t owner = 0;
};

struct Table {
    std::vector<UserRow> users;
    std::vector<std::vector<int16_t>> groups;

    Bytes Flat() const
    {
        Bytes b;
        auto u16 = [&](int32_t v) { b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v)); };
        auto u32 = [&](int32_t v) { u16(v >> 16), u16(v & 0xFFFF); };
        auto str = [&](const std::string& s, size_t width) {
            Bytes field(width, 0);
            field[0] = uint8_t(s.size());
            std::memcpy(field.data() + 1, s.data(), s.size());
            b.insert(b.end(), field.begin(), field.end());
        };
        u16(0xA0A0), u16(int32_t(users.size())), u16(int32_t(groups.size()));
        for (const UserRow& u : users) {
            u32(u.state);
            str(u.name, 32);
            unsigned char plain[16] = {uint8_t(u.password.size())}, scrambled[16] = {};
            std::memcpy(plain + 1, u.password.data(), u.password.size());
            encryptepass(scrambled, plain);
            b.insert(b.end(), scrambled, scrambled + 16);
            str("", 32);
            b.insert(b.end(), 24, 0x5A);
            u32(u.owner);
        }
        for (const std::vector<int16_t>& g : groups) {
            u16(int32_t(g.size()));
            str("Group", 32);  // a name padded with zeros, as stored
            u16(int32_t(g.size())), u16(0);
            for (int16_t m : g) u16(m);
        }
        return b;
    }
    // As stored in 'PAQz': scrambled with the table key.
    Bytes Stored() const
    {
        Bytes s = Flat();
        encryptetext(s.data(), int32_t(s.size()), PasswordTableKey());
        return s;
    }
};

// The demo's users: 1 Designer, 2 Administrator, 3 Anna, 4 Bert, 5 Gone
// (deleted); group 1 "Accounting" holds Anna, group 2 holds group 1.
inline Table Demo()
{
    Table t;
    t.users = {{"Designer", "design", 1, 0},
               {"Administrator", "admin", 1, 0},
               {"Anna", "anna", 1, 15001},
               {"Bert", "bert", 1, 0},
               {"Gone", "gone", kDeletedUser, 0}};
    t.groups = {{3}, {15001, 4}};
    return t;
}

inline std::string NameOf(platform::Handle record)
{
    if (!record || platform::GetHandleSize(record) < kPassRecSize) return "";
    const auto* p = reinterpret_cast<const uint8_t*>(*record);
    return std::string(reinterpret_cast<const char*>(p + 5), p[4]);
}

inline const unsigned char* P(const std::string& s)
{
    static std::deque<std::string> keep;  // elements never move
    keep.push_back(std::string(1, char(s.size())) + s);
    return reinterpret_cast<const unsigned char*>(keep.back().data());
}

}  // namespace usertables
