// The fixed places of the program, each overridable by an environment
// variable so that tests never touch the user's files:
//   preferences  QZ_PREFERENCES_DIR, else $XDG_CONFIG_HOME, else ~/.config
//   cache        QZ_CACHE_DIR,       else $XDG_CACHE_HOME,  else ~/.cache
//   extensions   QZ_EXTENSIONS_DIR,  else "Qz Extensions" beside the executable
//   documents    QZ_DOCUMENTS_DIR,   else $HOME
//   user data    QZ_USER_DATA_DIR,   else $XDG_DATA_HOME, else ~/.local/share
//   system data  QZ_SYSTEM_DATA_DIR, else the first of $XDG_DATA_DIRS,
//                else /usr/local/share
//   application  QZ_APPLICATION_DIR, else the folder of the executable
// Only absolute values count; others are ignored as the XDG rules say.
#pragma once

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

enum class SpecialFolder : uint8_t { Preferences, Cache, Extensions, Documents, UserData, SystemData, Application };

// The folder's FSSpec; with `create`, a missing folder is made
// (with its parents, readable and writable by the user only). Without it,
// a missing folder gives fnfErr and the FSSpec it would have.
OSErr FindSpecialFolder(SpecialFolder kind, bool create, FSSpec* folder);

}  // namespace platform
