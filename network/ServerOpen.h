// Opening a structure that a database server publishes: the network
// component's number, the server selection dialog, and the open itself
// (the connection, then the server's structure through the store).
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/FileTypes.h"

// A server address record: bytes 2-3 the TCP port (0: the default port),
// bytes 4-7 the IPv4 address, most significant byte first. An address of
// 0xFFFFFFFF is unset.
struct ServerAddress {
    uint8_t bytes[8] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
};
constexpr uint16_t kDefaultServerPort = 19813;

// The local companion resource file of a remote structure (-1: none) and
// the local cache file of the open connection.
extern int16_t localres;
extern platform::FSSpec gLocalResFileSpec;

// The only network component is TCP, number 1.
int16_t validmodule(int16_t component);
// Whether an address was set.
bool AddressIsSet(const ServerAddress& address);
// The address as dotted text, "a.b.c.d", with ":port" after it when asked
// for and the record has one.
std::string ServerAddressText(const ServerAddress& address, bool withPort = false);
// Reads "a.b.c.d" or "a.b.c.d:port"; false (address unset) for anything else.
bool ParseServerAddress(const std::string& text, ServerAddress* address);
// The server selection dialog ('DLOG' 5001: 1 Open, 2 Cancel, 4 the
// server's address, 6 the structure's name), starting with the last
// values. False when cancelled; a text that is no address leaves the
// address unset.
bool sfgetreseau(unsigned char* serverName, unsigned char* structureName, ServerAddress* address, int16_t component);
// The values the dialog starts with next time.
void SetLastServer(const std::string& address, const std::string& structureName);

struct DatabaseSpec {
    std::string structureName;
    std::string addressText;
    int16_t component = 1;
    ServerAddress address;
};
// Connects and opens the server's structure: the error goes to erreure, the
// structure's file number to numresfalse (0 when it did not open).
void openfromserver(const DatabaseSpec& target);
