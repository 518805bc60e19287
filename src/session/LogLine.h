// The diagnostic log's form: one line per event, a local time stamp to the
// millisecond and the event's text, in UTF-8. Plain values only: no
// platform, so the fuzzers build this for Linux as well. Writing the file is
// DiagnosticLog.h.
//
//   2024-05-01 10:22:33.123  step 2 of 24: prerequisite: "D:\Msi\vc_redist.x64.exe" -q -norestart
#pragma once

#include <string>

namespace korv {

struct LogClock {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The bytes of one line: the time stamp, two blanks, the text, CR LF. A
// line break inside the text is written as "<CR>" or "<LF>", so every event
// stays one line a reader can grep.
std::string LogLineBytes(const LogClock& time, const std::wstring& text);

// KorvanixSetup_yyyyMMdd_HHmmss_<unique>.log: the time for people, the
// unique part (random hex digits) so that nobody can create the file ahead
// of the run.
std::wstring DefaultLogFileName(const LogClock& time, const std::wstring& unique);

// yyyymmdd, the form of a date in Windows' list of installed programs.
std::wstring CompactDate(const LogClock& time);

}  // namespace korv
