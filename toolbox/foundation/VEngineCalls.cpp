// The engine operations that send one selector to the host.
#include <algorithm>
#include <cstring>

#include "platform/core/FourCC.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VValue.h"

namespace {

FrameInWindowProc gFrameInWindow = nullptr;

// Sends the selector with the block; nothing without a host.
void Call(int16_t selector, parm& block)
{
    if (gCallQz) gCallQz(selector, &block);
}

int32_t CallOnly(int16_t selector)
{
    parm block;
    Call(selector, block);
    return 0;
}

}  // namespace

void SetFrameInWindowProc(FrameInWindowProc proc) { gFrameInWindow = proc; }

int32_t VEngine::Compress(int32_t method, const void* src, int32_t srcLen, void* dst)
{
    if (!gCallQz) return 0;
    parm block;
    block.slot266.SetLong(method);
    block.flag8 = 1;
    block.slot272.SetPtr(src);
    block.slot276.SetLong(srcLen);
    block.slot280.SetPtr(dst);
    block.slot284.SetLong(0);
    Call(kSelBlockCompress, block);
    return block.result304;
}

int32_t VEngine::Decompress(int32_t method, const void* src, int32_t srcLen, void* dst, int32_t dstSize)
{
    if (!gCallQz) return 0;
    parm block;
    block.slot266.SetLong(method);
    block.flag8 = 0;
    block.slot272.SetPtr(dst);
    block.slot276.SetLong(dstSize);
    block.slot280.SetPtr(src);
    block.slot284.SetLong(srcLen);
    Call(kSelBlockCompress, block);
    return block.result304;
}

int32_t VEngine::EvalTime(const VString& text)
{
    if (!gCallQz) return 0;
    parm block;
    block.slot272.SetLong(11);
    constexpr int32_t kMaxTimeText = 82;
    text.ToPString(block.text310, kMaxTimeText, kCharSetMac);
    Call(kSelEvalTime, block);
    return block.result304;
}

void VEngine::PutTaskToSleep(int32_t duration, int32_t task)
{
    if (task == 0) task = CurrentTaskID();
    parm block;
    block.slot272.SetLong(task);
    block.slot276.SetLong(duration);
    Call(kSelPutTaskToSleep, block);
}

int32_t VEngine::CurrentTaskID()
{
    parm block;
    Call(kSelCurrentTaskID, block);
    return block.slot272.Long();
}

void VEngine::GiveHand(int32_t count)
{
    if (count <= 0) {
        CallOnly(kSelGiveHandOnce);
        return;
    }
    for (int32_t i = 0; i < count; ++i) CallOnly(kSelGiveHandCounted);
}

int32_t VEngine::GetFreeStack(int32_t task)
{
    parm block;
    block.slot272.SetLong(task);
    block.slot276.SetLong(0);
    Call(kSelFreeStack, block);
    return block.slot276.Long();
}

int16_t VEngine::GetPriorityTask()
{
    parm block;
    Call(kSelGetPriorityTask, block);
    return int16_t(block.slot272.Long());
}

int32_t VEngine::WNEDeTrap() { return CallOnly(kSelWNEDeTrap); }
int32_t VEngine::WNEReTrap() { return CallOnly(kSelWNEReTrap); }
int32_t VEngine::WNETaskDeTrap() { return CallOnly(kSelWNETaskDeTrap); }
int32_t VEngine::WNETaskReTrap() { return CallOnly(kSelWNETaskReTrap); }

int32_t VEngine::CreateTip(const VString& text, const VFrame& frame, const platform::Point* where)
{
    int32_t x = 0, y = 0, width = 0, height = 0;
    if (gFrameInWindow) gFrameInWindow(frame, x, y, width, height);
    // The frame's rectangle in its window: top, left, bottom, right.
    const int16_t rect[4] = {int16_t(y), int16_t(x), int16_t(y + height), int16_t(x + width)};
    parm block;
    block.slot272.SetPtr(rect);
    if (where) {
        block.slot276.SetLong(int32_t(platform::FourCC("WHER")));
        block.slot280.SetLong(x + where->h);
        block.slot284.SetLong(y + where->v);
    }
    text.ToPString(block.text310, 255, kCharSetMac);
    Call(kSelCreateTip, block);
    return 0;
}

int32_t VEngine::SetNextWindowLevel(int16_t level)
{
    parm block;
    block.slot272.SetLong(level);
    Call(kSelSetNextWindowLevel, block);
    return 0;
}

int32_t VEngine::SetWindowFocusable(void* nativeWindow, bool focusable)
{
    parm block;
    block.slot266.SetPtr(nativeWindow);
    block.flag8 = focusable ? 1 : 0;
    Call(kSelSetWindowFocusable, block);
    return 0;
}

int32_t VEngine::GetCurrentLook()
{
    parm block;
    Call(kSelGetCurrentLook, block);
    return block.slot272.Long();
}

int32_t VEngine::Alert(const VString& text)
{
    platform::Str255 message;
    text.ToPString(message, 255, kCharSetMac);
    parm block;
    block.slot272.SetPtr(message);
    Call(kSelAlert, block);
    return 0;
}

bool VEngine::Ask(const VString& prompt, VValue& value, const VString* okTitle, const VString* cancelTitle,
                  bool prefill)
{
    platform::Str255 promptText = {0}, answer = {0}, ok = {0}, cancel = {0};
    prompt.ToPString(promptText, 255, kCharSetMac);
    if (okTitle) okTitle->ToPString(ok, 255, kCharSetMac);
    if (cancelTitle) cancelTitle->ToPString(cancel, 255, kCharSetMac);
    if (prefill) {
        VStr<255> current;
        value.ToString(current);
        current.ToPString(answer, 255, kCharSetMac);
    }
    parm block;
    block.flag8 = 0;
    block.slot272.SetPtr(promptText);
    block.slot276.SetPtr(answer);
    block.slot280.SetPtr(ok);
    block.slot284.SetPtr(cancel);
    Call(kSelAsk, block);
    if (block.flag8) {
        VStr<255> reply;
        reply.FromMacPString(answer);
        value.FromString(reply);
    }
    return block.flag8 != 0;
}

int32_t VEngine::ProcessPostQzEvent(VQzEvent* event, int32_t argument)
{
    parm block;
    block.slot266.SetPtr(event);
    block.slot272.SetLong(argument);
    Call(kSelProcessPostQzEvent, block);
    return 0;
}

VQzEvent* VEngine::GetCurrentQzEvent()
{
    parm block;
    Call(kSelGetCurrentQzEvent, block);
    return block.slot266.Ptr<VQzEvent>();
}

VKeyboardSettings* VEngine::ReadKeybordMapping()
{
    parm block;
    Call(kSelReadKeybordMapping, block);
    return block.slot266.Ptr<VKeyboardSettings>();
}

int16_t VEngine::WriteKeybordMapping(VKeyboardSettingsV2* settings)
{
    parm block;
    block.slot266.SetPtr(settings);
    Call(kSelWriteKeybordMapping, block);
    return block.error270;
}

int16_t VEngine::ReadKeybordMappingV2(char**& stored)
{
    parm block;
    Call(kSelReadKeybordMappingV2, block);
    stored = block.slot266.Ptr<char*>();
    return block.error270;
}

int16_t VEngine::DisposeKeybordMappingV2(char** stored)
{
    parm block;
    block.slot266.SetPtr(stored);
    Call(kSelDisposeKeybordMappingV2, block);
    return block.error270;
}
