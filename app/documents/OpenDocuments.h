// Which class opens a file, the filters of the two open dialogs, and the
// server address as text.
#pragma once

#include <cstdint>
#include <string>

#include "network/ServerOpen.h"
#include "platform/appleevents/AppleEvents.h"
#include "platform/filedialogs/NavServices.h"

// Whether the name ends in "." and exactly the three characters of `ext`.
bool HasExtension(const std::string& name, const char* ext);
// 2 a structure (type 'BAS5', extension "QzB" or "qzb"), 3 a library (type
// 'QzLB' or 'QOLB', extension "QTL" or "qtl"; it wins when both match),
// 0 neither. The name is Mac Roman.
int16_t DocClassOf(const std::string& name, platform::OSType type);
platform::Boolean BaseFileFilter(platform::AEDesc* item, void* info, void* userData, platform::NavFilterModes mode);
platform::Boolean SQLFileFilter(platform::AEDesc* item, void* info, void* userData, platform::NavFilterModes mode);
// The address bytes 4-7 as dotted text.
void GetIPString(const ServerAddress& address, unsigned char* text);
// True while a server's structure is being opened.
bool GetOpenFromServer();
