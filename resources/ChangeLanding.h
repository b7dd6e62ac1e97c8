// Whether the change of the command under way has reached the disk. A
// store file's commit that puts its header on the disk says so; one that
// fails says the change is not there. A command's change lands with its
// last commit: a later one failing leaves it unlanded, whatever takes the
// earlier ones back. Noted only while a command is watched (whatever runs
// the commands): a commit outside one is no command's change.
#pragma once

namespace changelanding {

// What was noted of the command around a command that begins.
struct Outer {
    bool watched = false;
    bool landed = false;
};

// A command begins: nothing of it has landed.
Outer Begin();
// It ends: the command around it, if any, is watched again.
void End(Outer outer);
// A commit of the command's change landed (true) or failed (false).
void Note(bool landed);
// The command's last commit landed.
bool Landed();

}  // namespace changelanding
