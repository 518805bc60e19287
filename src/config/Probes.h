// Facts about the machine that start-up collects before any page: Windows'
// word size and version values, the installed Excel's word size and the
// newest .NET Framework. Probes only read and never show a message.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "session/InstallSession.h"

namespace korv {

// Sets os64Bit from the native processor architecture.
void DetectOs64Bit();
bool IsArchitecture64Bit(WORD processorArchitecture);

// A value of HKLM\Software\Microsoft\Windows NT\CurrentVersion as text;
// empty when it cannot be read.
std::wstring ReadWindowsVersionValue(const wchar_t* valueName);

// Sets office64Bit from the word size of the registered excel.exe; false
// (field unchanged) when it cannot decide.
bool DetectOfficeBitness();

// Word size of an executable image from its PE file header: 32, 64, or -1
// for another machine type. False when the file cannot be opened or is too
// short to hold the headers.
bool ReadImageBits(const std::wstring& path, int& bits);

// Sets dotNetVersion to a key of the .NET version map; false when no
// version was found (dotNetVersion then empty).
bool DetectDotNetVersion();
bool DetectDotNetVersion(InstallSession& session);

// Version texts found under HKLM\SOFTWARE\Microsoft\NET Framework Setup\NDP.
std::vector<std::wstring> ListDotNetVersions();

// The .NET version map, in order: key and short code.
struct DotNetVersion {
    const wchar_t* key;
    const wchar_t* shortCode;
};
const std::vector<DotNetVersion>& DotNetVersionMap();

// Short code for a key of the map ("4.8" -> "48"); empty for another text.
std::wstring DotNetShortCode(const std::wstring& key);

// The decision behind DetectDotNetVersion: the map key for a list of found
// versions, empty when none counts.
std::wstring PickDotNetVersion(const std::vector<std::wstring>& found);

}  // namespace korv
