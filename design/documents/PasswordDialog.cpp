// The administrator password dialog shown when a structure opens.
#include <algorithm>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

namespace {

constexpr int16_t kDialogId = 257;
constexpr int16_t kOK = 1;
constexpr int16_t kPasswordItem = 4;
constexpr int16_t kCancel = 5;
constexpr int16_t kBeepTicks = 10;

}  // namespace

bool CheckPassword(bool superPass, unsigned char* password)
{
    SetArrowCursor();
    const int16_t savedRes = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    platform::Handle dlog = nullptr, bits = nullptr;
    platform::Rect saveRect{};
    DLogSaveScreen(platform::FourCC("DLOG"), kDialogId, &dlog, &bits, &saveRect);
    platform::DialogRef dialog = MyGetNewDialog(kDialogId, nullptr, reinterpret_cast<platform::WindowRef>(-1));
    bool accepted = false;
    if (dialog) {
        platform::ShowWindow(platform::GetDialogWindow(dialog));
        platform::SelectDialogItemText(dialog, kPasswordItem, 0, 32767);
        platform::DrawDialog(dialog);
        int16_t hit = 0;
        while (!accepted && hit != kCancel) {
            MyModalDialog(nullptr, &hit);
            if (hit != kOK) continue;
            unsigned char typed[256];
            GetText(typed, dialog, kPasswordItem);
            typed[0] = std::min<uint8_t>(typed[0], 15);
            std::memcpy(password, typed, size_t(typed[0]) + 1);
            accepted = superPass ? x_issuperpass(password) : issuperuser(password);
            if (!accepted) {
                platform::SysBeep(kBeepTicks);
                static const unsigned char empty[1] = {0};
                SetText(dialog, kPasswordItem, empty);
                platform::SelectDialogItemText(dialog, kPasswordItem, 0, 32767);
            }
        }
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    platform::UseResFile(savedRes);
    if (!accepted) password[0] = 0;
    return accepted;
}
