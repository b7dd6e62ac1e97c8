#include "toolbox/foundation/intl/KeyboardPlatform.h"

namespace {

KeyboardPlatformCalls gCalls;

}  // namespace

const KeyboardPlatformCalls& KeyboardPlatform() { return gCalls; }

void SetKeyboardPlatform(const KeyboardPlatformCalls& calls) { gCalls = calls; }

void ResetKeyboardPlatform() { gCalls = KeyboardPlatformCalls(); }
