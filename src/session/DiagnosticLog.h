// The diagnostic log of a run: what support reads when a run failed on a
// machine nobody here can see. One time-stamped UTF-8 line per event (see
// LogLine.h): the program and its command line, the machine facts, every
// check, the run mode, every step with its command line and the started
// program's exit code, every message and its answer, the exit code.
//
//   OpenDiagnosticLog(path);          start-up, once, before anything else
//   (or OpenDefaultDiagnosticLog())
//   LogEvent(L"run mode: unattended install");
//
// It is no part of what the run does: a log that cannot be opened or
// written is simply not written, and nothing ever waits on it or reads it.
// This is not install.log, the uninstaller's record (engine/InstallLog.h).
#pragma once

#include <string>

namespace korv {

// Opens path for appending (creating it), so runs that share a path follow
// one another in it. False when it cannot be opened; the run goes on
// without a log. A log already open is closed first.
bool OpenDiagnosticLog(const std::wstring& path);

// Closes the log; later events are dropped.
void CloseDiagnosticLog();

// The path of the open log; empty when none is open.
std::wstring DiagnosticLogPath();

// Opens a new log in the temporary folder (fw::TemporaryFolder), named
// KorvanixSetup_<local yyyyMMdd_HHmmss>_<16 random hex digits>.log. The file
// is created new (never one that exists, which someone else may have made
// to read what follows), and in a temporary folder other users share (the
// one below the Windows folder that SYSTEM uses) only SYSTEM and the
// Administrators may open it. False when none could be created.
bool OpenDefaultDiagnosticLog();

// Appends one line (from any thread); dropped when no log is open.
void LogEvent(const std::wstring& text);

// Today's local date as yyyymmdd.
std::wstring TodayCompactDate();

}  // namespace korv
