#include "design/objects/TransferHooks.h"
#include "transfer/links/DestLookups.h"
#include "transfer/links/ParseLinkProc.h"
#include "transfer/movers/Movers.h"

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
    SetTransferHooks(hooks);
}

}  // namespace transfer
