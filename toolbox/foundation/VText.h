// UTF-16 strings of any length in a handle; VTextPath holds a folder path
// whose separator is ':'.
#pragma once

#include "toolbox/foundation/TextHandle.h"
#include "toolbox/foundation/VUniString.h"

class VText : public VUniString {
public:
    VText();
    VText(const VText& source);
    // Takes the source's null flag and, when not null, its text.
    explicit VText(const VString& source);
    VText& operator=(const VText& source);
    ~VText() override;

    VValue* Clone() const override;
    bool IsInHandle() const override;
    StringKind GetStringKind() const override;
    void ClearString(uint8_t release) override;
    int32_t GetLength() const override;
    void AdjustCString() override;
    void* LockAndGetCPointer() const override;
    void Unlock() const override;
    bool SetLength(int32_t length) override;

private:
    TextHandle fText;
};

class VTextPath : public VText {
public:
    VTextPath() = default;
    explicit VTextPath(const VString& source) : VText(source) {}
    ~VTextPath() override;

    VValue* Clone() const override;
    // True when the text ends with ':'; else, with add, appends one; false.
    bool CheckLastCharForSeparator(bool add);
};
