#include "transfer/modules/DebugLog.h"

void DebugLog_Write(const char* format) { (void)format; }
void DebugLog_WriteGeneric(const char* format, const void* value) { (void)format, (void)value; }
void DebugLog_WriteObj(const char* format, TObjQz* obj) { (void)format, (void)obj; }
void DebugLog_WriteInt(const char* format, int32_t value) { (void)format, (void)value; }
