// Text for the console the program was started from. Setup.exe is a
// windowed program: it has a console only when its standard output was
// handed to it (a console, a file or a pipe, as cmd, PowerShell and
// deployment agents do when they capture output) or when the program that
// started it has one it can attach to (start /wait Setup.exe /? in cmd).
#pragma once

#include <string>

namespace korv {

// Writes text there: to a console as it is, to a file or a pipe in UTF-8.
// False when the program has no console and no standard output.
bool WriteToConsole(const std::wstring& text);

}  // namespace korv
