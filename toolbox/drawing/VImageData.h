// Picture values: images that travel through the value, stream and list
// machinery like numbers and strings. VImageData is the image value (value
// kind 10, not ordered, not evaluated); VPictData, the only kind this
// system makes, holds a picture in a handle that it may or may not own
// (an owned handle is disposed of when the value lets it go).
//
// Error codes: 0, 100 memory, 200 damaged or cut-short data, and the
// picture import's 600.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/drawing/ImageKind.h"
#include "toolbox/foundation/VValueSingle.h"

class VFile;
class VStream;

constexpr int16_t kImageNoMemory = 100;
constexpr int16_t kImageBadData = 200;
constexpr int16_t kImageImportFailed = 600;

class VImageData : public VValueSingle {
public:
    VImageData() = default;
    ~VImageData() override;

    ValueKind GetValueKind() const override { return kValuePicture; }
    bool CanBeEvaluated() const override { return false; }
    int32_t CompareTo(const VValue&, uint8_t = 0, int32_t = -1) const override { return kValuesNotComparable; }
    // 'VVAL': the value kind and the image kind first, as 32-bit numbers;
    // then the size as a 32-bit number and the bytes.
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
    // The size and the bytes, taken through FromBytes. A size beyond what
    // the stream holds is refused (200) before anything is allocated.
    int32_t ReadFromStream(VStream* stream, int32_t tag) override;

    virtual ImageKind GetImageKind() const = 0;
    virtual bool IsValid() const = 0;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    virtual void GetWidthHeight(int32_t& width, int32_t& height) const = 0;
    // The handle, still the value's.
    virtual platform::Handle GetData() const = 0;
    // The handle passes to the caller; the value holds nothing after.
    virtual platform::Handle ForgetData() = 0;
    virtual void FromData(platform::Handle data, bool owns) = 0;
    virtual void FromBytes(const void* bytes, int32_t length) = 0;
    virtual void FromImage(const VImageData& image) = 0;
    virtual void FromFile(VFile& file) = 0;
    // The bytes as upper-case hexadecimal text; nothing without a picture.
    virtual int16_t DumpHexa(VStream& stream) const = 0;
    // Pairs of hexadecimal digits up to the terminator (or the end of the
    // stream), returns and line feeds skipped anywhere. 0, or 200 and no
    // picture for a character that is not a digit or a lone digit.
    virtual int16_t ReadHexa(VStream& stream, char terminator, ImageKind kind) = 0;
    virtual int32_t GetSize() const = 0;
    // Keeps the first error ever set and the last one that is not 0.
    virtual void SetError(int16_t error);

    int16_t GetFirstError() const { return fFirstError; }
    int16_t GetLastError() const { return fLastError; }

protected:
    VImageData(const VImageData&) = default;

    // The stored size and the stream's end agree; 200 when they do not.
    static int16_t CheckStoredSize(VStream& stream, int32_t size);

    int16_t fFirstError = 0;
    int16_t fLastError = 0;
    bool fHasFirstError = false;
};

// A picture in the published layout: a 16-bit size, then the frame's top,
// left, bottom and right as signed 16-bit numbers, then the opcodes.
class VPictData : public VImageData {
public:
    VPictData() = default;
    VPictData(const void* bytes, int32_t length);
    explicit VPictData(const VImageData& image);
    ~VPictData() override;
    VPictData(const VPictData&) = delete;
    VPictData& operator=(const VPictData&) = delete;

    VValue* Clone() const override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
    int32_t ReadFromStream(VStream* stream, int32_t tag) override;

    ImageKind GetImageKind() const override { return kImagePICT; }
    bool IsValid() const override { return fData != nullptr; }
    int32_t GetWidth() const override;
    int32_t GetHeight() const override;
    void GetWidthHeight(int32_t& width, int32_t& height) const override;
    platform::Handle GetData() const override { return fData; }
    platform::Handle ForgetData() override;
    void FromData(platform::Handle data, bool owns) override;
    void FromBytes(const void* bytes, int32_t length) override;
    // Pictures are copied; no other kind gives a picture.
    void FromImage(const VImageData& image) override;
    // Through the picture import hook, else by the file's kind.
    void FromFile(VFile& file) override;
    int16_t DumpHexa(VStream& stream) const override;
    int16_t ReadHexa(VStream& stream, char terminator, ImageKind kind) override;
    int32_t GetSize() const override;

    // Lets the picture go and clears the value.
    void KillData();
    bool OwnsData() const { return fOwns; }

private:
    platform::Handle fData = nullptr;
    bool fOwns = false;
};

// How the engine reads image values of this layer.
void InstallImageDataAccess();
