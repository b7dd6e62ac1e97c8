// What the system object and the file objects ask of each other: the
// running program's file for the system object, and the system object's
// file-kind table for the files. Start-up calls it once the system object
// exists.
#pragma once

void InstallSystemFileServices();
