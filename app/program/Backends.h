// Where the program's input comes from: a script (QZ_SCRIPT names it), the
// live window, or, with no display, a headless run that quits once idle.
#pragma once

#include <memory>
#include <string>

class ProgramInput {
public:
    virtual ~ProgramInput() = default;
    // 0 for a normal end; the headless watchdog's status otherwise.
    virtual int EndStatus() const { return 0; }
};

// Installs the input; null with *error when it cannot be had. *note says
// what was chosen when the person should know (no display).
std::unique_ptr<ProgramInput> StartInput(std::string* note, std::string* error);
