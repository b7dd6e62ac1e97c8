#include "forms/walkers/RewriteSupport.h"

#include <algorithm>
#include <cstring>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/resfiles/Resources.h"

void CopyEveryChunk(WalkerFrame* frame)
{
    for (IFFClientProc* p : {&frame->flag, &frame->text, &frame->var, &frame->field, &frame->mult, &frame->satt,
                             &frame->font, &frame->draw, &frame->groupBox, &frame->staticPict, &frame->other,
                             &frame->listBox})
        *p = CopyGroup;
}

bool SameName(const unsigned char* a, const unsigned char* b) { return rel2str(a, b) == kEqual; }

bool SameName(const std::string& a, const unsigned char* b)
{
    if (a.size() > 255) return false;
    unsigned char p[256];
    p[0] = uint8_t(a.size());
    std::memcpy(p + 1, a.data(), a.size());
    return SameName(p, b);
}

void GetInterprocessPrefix(unsigned char* prefix) { platform::GetIndString(prefix, 104, 39); }

bool HasPrefix(const unsigned char* name, const unsigned char* prefix)
{
    return prefix[0] > 0 && name[0] >= prefix[0] && std::memcmp(name + 1, prefix + 1, prefix[0]) == 0;
}

void PutPrefix(const unsigned char* prefix, const unsigned char* name, unsigned char* out)
{
    const int32_t kept = std::min<int32_t>(name[0], 255 - prefix[0]);
    std::memmove(out + 1 + prefix[0], name + 1, size_t(kept));
    std::memcpy(out + 1, prefix + 1, prefix[0]);
    out[0] = uint8_t(prefix[0] + kept);
}

void CopyCut(unsigned char* out, const unsigned char* text, int32_t max)
{
    out[0] = uint8_t(std::min<int32_t>(text[0], max));
    std::memmove(out + 1, text + 1, out[0]);
}

bool RespellText(ChunkEdit& edit, const StoredText& field, const unsigned char* text, bool padded)
{
    return edit.Replace(field.at, field.size, padded ? PaddedPStrBytes(text) : PStrBytes(text));
}

bool RespellStaticText(ChunkEdit& edit, const StoredStaticText& stored, const std::string& text)
{
    std::string length(4, '\0');
    platform::WriteBE32(reinterpret_cast<uint8_t*>(length.data()), uint32_t(text.size()));
    return edit.Replace(StoredStaticText::kLengthAt, 4, length) &&
           edit.Replace(StoredStaticText::kTextAt, stored.length, text);
}

int16_t RunTextWalker(WalkerFrame* frame, platform::Handle source, platform::Handle output,
                      const TextHandlers& handlers)
{
    if (output) CopyEveryChunk(frame);
    frame->flag = handlers.flag;
    frame->text = frame->groupBox = handlers.text;
    frame->var = handlers.var;
    frame->listBox = handlers.listBox;
    return RunFormWalker(source, frame, output);
}
