// The whole client against a misbehaving server: the input is everything the
// server sends on the connection (greeting, action frames, replies, the raw
// bytes of a map), and the client runs its session to the end of it.
#include <cstdint>
#include <cstdlib>

#include "fuzz/support/ClientSession.h"
#include "fuzz/support/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!fuzz::LoadShippedTemplates()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ScriptedServer server(fuzz::Bytes(data, data + size));
    fuzz::RunClientSession(server.Port());
    return 0;
}
