// Operating-system services: opening documents and addresses with the
// desktop's handler, starting programs, and the program's folders.
// Programs start from an argument vector (never through a shell), so no
// text a user typed is ever interpreted as a command.
//
// Recording mode (tests, off-screen runs): ShellOpen and StartProgram record
// each request as "open <target>" / "start <path> <args...>" and launch
// nothing.
#pragma once

#include <vector>

#include "rtl/types.h"

namespace brevant {

// Opens a file, folder or URL with the desktop's handler (xdg-open).
// Raises EOSError when it cannot be started.
void ShellOpen(const String& documentOrUrl);
// Starts a program (found on PATH when path has no '/') with arguments;
// does not wait. Answers the process id (0 when recorded); raises EOSError
// when it cannot be started.
Integer StartProgram(const String& path, const std::vector<String>& args = {});

void SetRecordOsRequests(bool on);
bool RecordOsRequests();
std::vector<String>& RecordedOsRequests();

// The running program's file, and its folder with a trailing separator.
String ExeFileName();
String ExeFolder();
// The process's working folder (with a trailing separator) and setting it
// (raises EOSError on failure).
String CurrentFolder();
void SetCurrentFolder(const String& folder);
// "dir/name.ext" -> "name".
String ExtractFileNameWithoutExt(const String& path);

}  // namespace brevant
