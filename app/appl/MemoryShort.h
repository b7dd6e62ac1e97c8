// Memory running out in the middle of a command. The event loop runs each
// event's work, and each high-level event handler its own, through
// RunCommand: a std::bad_alloc from that work ends the command where it
// ran out, and what the command had begun is undone with the means the
// documents already have: a document that came in during the command goes
// again, unsaved; every other document on disk is read again from its
// files, its editors left open with their typing; every window is drawn
// anew. The user is told once that memory ran short, and the program goes
// on.
#pragma once

#include <type_traits>

namespace memoryshort {

// The work of one command; false when memory ran out in it (undone and said).
bool RunWork(void (*work)(void*), void* context);

// Called by a command once its change is on the disk (a save of a file
// that is no store's: a store's commit says it itself): memory running out
// after it, in what only tidies up, is undone as ever but not said, for
// the command went through.
void Landed();

// Memory ran out in the running command, caught by the command so that
// it tidies up after itself: said, unless the command's change has landed;
// then nothing is said, and the documents are read again when the
// command ends, as after memory runs out in it.
void RanOut();

}  // namespace memoryshort

template <class Work>
bool RunCommand(Work&& work)
{
    return memoryshort::RunWork([](void* context) { (*static_cast<std::remove_reference_t<Work>*>(context))(); },
                                const_cast<void*>(static_cast<const void*>(&work)));
}
