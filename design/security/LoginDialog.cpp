// The login dialog (987): 1 OK, 2 Cancel, 3 a user item without a
// rectangle, 8 the user's name, 9 the password, drawn in bullets.
#include <algorithm>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "design/documents/Passwords.h"
#include "design/security/Login.h"
#include "design/security/SecurityManager.h"
#include "design/security/SecurityTokens.h"
#include "kernel/helpers/KernelDialogs.h"
#include "kernel/store/StoreAccess.h"
#include "network/Requests.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/fonts/Fonts.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::Handle;

namespace {

constexpr int16_t kLoginDialog = 987;
constexpr int16_t kOK = 1;
constexpr int16_t kCancel = 2;
constexpr int16_t kHiddenItem = 3;
constexpr int16_t kNameItem = 8;
constexpr int16_t kPasswordItem = 9;
constexpr uint8_t kNameMax = 30;
constexpr uint8_t kPasswordMax = 15;
constexpr int16_t kBeepTicks = 10;

// The text record with the focus draws in bullets while it is the
// password's.
void FollowFocus(platform::DialogRef dialog)
{
    platform::TEHandle te = platform::GetDialogTextEditHandle(dialog);
    if (!te) return;
    const int16_t font = platform::GetDialogKeyboardFocusItem(dialog) == kPasswordItem ? platform::kFontIDBullets : 0;
    if ((**te).txFont == font) return;
    (**te).txFont = font;
    platform::TECalText(te);
}

platform::Boolean LoginFilter(platform::DialogRef dialog, platform::EventRecord* event,
                              platform::DialogItemIndex* item)
{
    FollowFocus(dialog);
    return DefaultFilter(dialog, event, item);
}

// Whether the typed password is the user's: compared with the stored one
// in scrambled form for a local structure, asked of the server otherwise.
bool Accepted(int16_t user, const unsigned char* typed, bool local)
{
    if (!local) return testpass(user, typed);
    unsigned char scrambled[16];
    encryptepass(scrambled, typed);
    const auto* stored = reinterpret_cast<const uint8_t*>(*indpass(user)) + 36;
    const uint8_t length = std::min<uint8_t>(stored[0], 15);
    return scrambled[0] == length && std::memcmp(scrambled + 1, stored + 1, length) == 0;
}

}  // namespace

bool ShowLoginDialog_user_pwd(const unsigned char* defaultName, int16_t* user, unsigned char* password)
{
    *user = 0;
    password[0] = 0;
    SetArrowCursor();
    const int16_t savedRes = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    platform::DialogRef dialog = getposdialog(kLoginDialog, nullptr, reinterpret_cast<platform::WindowRef>(-1));
    platform::UseResFile(savedRes);
    if (!dialog) return false;
    const platform::Rect none{0, 0, 0, 0};
    platform::SetDialogItem(dialog, kHiddenItem, platform::userItem, nullptr, &none);
    platform::SetDialogDefaultItem(dialog, kOK);
    platform::SetDialogCancelItem(dialog, kCancel);
    // The password's own record draws in bullets from the start.
    platform::SelectDialogItemText(dialog, kPasswordItem, 0, 0);
    FollowFocus(dialog);
    if (defaultName && defaultName[0]) SetText(dialog, kNameItem, defaultName);
    platform::SelectDialogItemText(dialog, kNameItem, 0, 32767);
    FollowFocus(dialog);
    const bool local = islocalres(numresfalse);
    int16_t hit = 0;
    bool accepted = false;
    // A server that stops answering ends the dialog: no password it
    // cannot check is asked again.
    const uint32_t failures = ConnectionFailures();
    while (!accepted && hit != kCancel && ConnectionFailures() == failures) {
        MyModalDialog(LoginFilter, &hit);
        if (hit != kOK) continue;
        unsigned char name[256], typed[256];
        GetText(name, dialog, kNameItem);
        GetText(typed, dialog, kPasswordItem);
        name[0] = std::min(name[0], kNameMax);
        typed[0] = std::min(typed[0], kPasswordMax);
        // Deleted users are passed over: one whose password still matches
        // must not log in.
        const int16_t found = FindLiveUserByName(name);
        accepted = found != 0 && Accepted(found, typed, local);
        if (accepted) {
            *user = found;
            std::memcpy(password, typed, size_t(typed[0]) + 1);
        } else {
            platform::SysBeep(kBeepTicks);
        }
    }
    MyDisposDialog(dialog);
    return accepted;
}

VSecurityToken* ShowLoginDialog(const unsigned char* defaultName)
{
    int16_t user = 0;
    unsigned char password[16];
    if (!ShowLoginDialog_user_pwd(defaultName, &user, password) || !gSecurityManager) return nullptr;
    return gSecurityManager->RetainToken(user, password, false);
}
