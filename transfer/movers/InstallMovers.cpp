#include "design/objects/TransferHooks.h"
#include "transfer/links/DestLookups.h"
#include "transfer/links/ParseLinkProc.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/DataMovers.h"
#include "transfer/movers/FormMovers.h"
#include "transfer/movers/ListMovers.h"
#include "transfer/movers/Movers.h"
#include "transfer/movers/PlugInMovers.h"
#include "transfer/movers/TableMovers.h"

namespace transfer {

void InstallMovers()
{
    TransferHooks hooks = CurrentTransferHooks();
    hooks.getDestObj = GetDestObj;
    hooks.getDestForm = GetDestForm;
    hooks.getDestRub = GetDestRub;
    hooks.chainCrit = ChainCrit;
    hooks.parse_LinkProc = Parse_LinkProc;
    hooks.moveProc = MoveProc;
    hooks.replaceProc = ReplaceProc;
    hooks.moveMenu = MoveMenu;
    hooks.replaceMenu = ReplaceMenu;
    hooks.moveMBar = MoveMBar;
    hooks.replaceMBar = ReplaceMBar;
    hooks.moveBalloon = MoveBalloon;
    hooks.replaceBalloon = ReplaceBalloon;
    hooks.moveStr = MoveStr;
    hooks.replaceStr = ReplaceStr;
    hooks.moveStyle = MoveStyle;
    hooks.replaceStyle = ReplaceStyle;
    hooks.moveResource = MoveResource;
    hooks.replaceResource = ReplaceResource;
    hooks.moveDocRes = MoveDocRes;
    hooks.moveQzFile = MoveQzFile;
    hooks.replaceFile = ReplaceFile;
    hooks.moveCrit = MoveCrit;
    hooks.moveGroup = MoveGroup;
    hooks.moveList = MoveList;
    hooks.replaceList = ReplaceList;
    hooks.movePicture = MovePicture;
    hooks.replacePicture = ReplacePicture;
    hooks.moveStyleSheet = MoveStyleSheet;
    hooks.replaceStyleSheet = ReplaceStyleSheet;
    hooks.moveExternal = MoveExternal;
    hooks.replaceExternal = ReplaceExternal;
    hooks.movePackage = MovePackage;
    hooks.replacePackage = ReplacePackage;
    hooks.moveLayOut = MoveLayOut;
    hooks.replaceLayOut = ReplaceLayOut;
    hooks.noteGroupJoin = NoteGroupJoinInSession;
    hooks.forgetObj = ForgetObjInSession;
    SetTransferHooks(hooks);
}

}  // namespace transfer
