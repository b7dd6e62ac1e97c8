// The login to a structure that a server publishes and the access
// decisions built on it: who may open the design, delete users or change
// their password.
#pragma once

#include <cstdint>

class VSecurityToken;

// Results of takepass.
constexpr int16_t kLoginCancelled = -128;
constexpr int16_t kLoginRefused = -9978;

// Logs a user in as the server's structure opens: a start-up name and
// password, the structure's default user (with `useDefaultUser`, Shift
// up), else the login dialog. 0 with a user logged in, -128 cancelled,
// -9978 when no user could be logged in (the server refused the identity
// or stopped answering, or the default user is gone and no dialog may
// ask).
int16_t takepass(bool useDefaultUser);
// Whether the current user may open the design: never in the runtime
// configuration; else the design-access group of the structure's
// parameters ('PRQz' 0 offset 48, low 16 bits) decides.
bool okstruct();
// Whether the token's user (the current task's when none is given)
// belongs to the group; true when nobody is logged in at all.
bool ok2pass(int16_t group, VSecurityToken* token);

// The login dialog (987): a retained token, null when cancelled (or when
// the server stopped answering while it was up).
VSecurityToken* ShowLoginDialog(const unsigned char* defaultName);
// The dialog itself: true when a user was accepted, with its number and
// the password as typed (length-prefixed, at most 15 characters).
bool ShowLoginDialog_user_pwd(const unsigned char* defaultName, int16_t* user, unsigned char* password);

// Through the manager's provider and the current user's token.
int16_t DeleteUser(int16_t user);
bool IsValidUser(int16_t user);
bool ChangePassword(const unsigned char* password);
int32_t GetDefaultOwner();

// The design-access group and default user of the structure's parameter
// record (`hparam`), 0 when it has none.
int16_t DesignAccessGroup();
int16_t StoredDefaultUser();
