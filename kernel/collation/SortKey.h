// Sort keys of the kernel's text comparison: byte strings compared
// byte by byte as unsigned values (a key that is a prefix of another comes
// first) order two texts exactly as CompareStringQz does, and are equal
// exactly when it answers equal. A sort then makes one key per text
// instead of doing the comparison's work twice per step.
//
// The two-byte scripts and a custom order whose weights split a class have
// no keys: callers ask first and compare directly when there are none.
#pragma once

#include <cstdint>
#include <string>

// Keys for one flag (the `ordering` argument of CompareStringQz) under the
// collation in force when it is made; make one per sort.
class CollationKeys {
public:
    explicit CollationKeys(bool ordering);
    // False when this collation has no keys for the flag.
    bool Available() const { return kind_ != 0; }
    // Appends the key of the text (nothing when not Available).
    void Append(const uint8_t* text, int32_t length, std::string* key) const;

private:
    int kind_ = 0;
    uint16_t rank_[256] = {};  // class ranks of the exact custom order
};
