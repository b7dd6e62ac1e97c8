// Result codes of the platform services, with their classic values.
#pragma once

#include "platform/core/MacTypes.h"

namespace platform {

// Memory
constexpr OSErr memFullErr = -108;     // not enough room
constexpr OSErr nilHandleErr = -109;   // the handle or its master pointer is null
constexpr OSErr memWZErr = -111;       // not a block of ours (freed or foreign)
constexpr OSErr memPurErr = -112;      // a locked block cannot be purged
constexpr OSErr memLockedErr = -117;   // a locked block cannot move

// Files
constexpr OSErr dirFulErr = -33;
constexpr OSErr dskFulErr = -34;
constexpr OSErr nsvErr = -35;
constexpr OSErr ioErr = -36;
constexpr OSErr bdNamErr = -37;
constexpr OSErr fnOpnErr = -38;
constexpr OSErr eofErr = -39;
constexpr OSErr posErr = -40;
constexpr OSErr tmfoErr = -42;
constexpr OSErr fnfErr = -43;
constexpr OSErr wPrErr = -44;
constexpr OSErr fLckdErr = -45;
constexpr OSErr vLckdErr = -46;
constexpr OSErr fBsyErr = -47;
constexpr OSErr dupFNErr = -48;
constexpr OSErr opWrErr = -49;
constexpr OSErr paramErr = -50;
constexpr OSErr rfNumErr = -51;
constexpr OSErr permErr = -54;
constexpr OSErr wrPermErr = -61;
constexpr OSErr dirNFErr = -120;
constexpr OSErr afpAccessDenied = -5000;

// The user cancelled (a dialog, a drag).
constexpr OSErr userCanceledErr = -128;

}  // namespace platform
