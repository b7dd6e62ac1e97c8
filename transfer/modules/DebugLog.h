// The trace of the module and install code: the log is never opened, so
// these write nothing (the design layer has the open, close and string
// forms).
#pragma once

#include <cstdint>

class TObjQz;

void DebugLog_Write(const char* format);
void DebugLog_WriteGeneric(const char* format, const void* value);
void DebugLog_WriteObj(const char* format, TObjQz* obj);
void DebugLog_WriteInt(const char* format, int32_t value);
