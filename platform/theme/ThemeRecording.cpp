#include "platform/theme/ThemeRecording.h"

namespace platform {

namespace {

ThemeCallListener gListener = nullptr;
void* gListenerData = nullptr;

}  // namespace

void SetThemeCallListener(ThemeCallListener listener, void* data)
{
    gListener = listener;
    gListenerData = data;
}

void ReportThemeCall(const ThemeCall& call)
{
    if (gListener) gListener(call, gListenerData);
}

}  // namespace platform
