// The MD5 message digest (RFC 1321) and the small object through which the
// archive streams check their blocks. A digest is 16 bytes in the RFC's
// byte order.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

struct MD5_CTX {
    uint32_t count[2];  // bits hashed so far, low word first
    uint32_t state[4];
    uint8_t buffer[64];
};

void MD5Init(MD5_CTX* context);
// Takes a 32-bit length: one call may hash any buffer the caller holds.
void MD5Update(MD5_CTX* context, const void* data, uint32_t length);
void MD5Final(uint8_t digest[16], MD5_CTX* context);
// Mixes one 64-byte block into the four chaining words.
void Transform(uint32_t state[4], const uint8_t block[64]);

class VChecksumMD5 : public VObject {
public:
    VChecksumMD5() { MD5Init(&fContext); }

    void NewChecksum() { MD5Init(&fContext); }
    // A null pointer or a length of 0 leaves the running digest as it is.
    void Update(const void* data, uint32_t length);
    // Finishes into digest (null: nothing); restart before the next use.
    void GetChecksum(uint8_t* digest);
    // The digest of one buffer.
    void NewChecksum(const void* data, uint32_t length, uint8_t* digest);
    static bool IsEqual(const uint8_t* a, const uint8_t* b);

private:
    MD5_CTX fContext;
};
