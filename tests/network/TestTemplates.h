// Stand-in converters for the few request templates the tests use, laid out
// as the resource requests need them. They reverse 16- and 32-bit fields and
// report an overrun past the limit.
#pragma once

#include <cstdint>

int32_t TestSwapReceived(int32_t number, void* data, int32_t swap, int32_t* consumed,
                         int32_t limit);
int32_t TestSwapSending(int32_t number, void* data, int32_t swap, int32_t* consumed,
                        int32_t limit);
