// Texts by string-table id from the resource library IntallerRes.dll, with
// the built-in English default of the calling place.
//
//   std::wstring title = LocalText(2015, L"Korvanix 2024").Get();
//
// The library is loaded into a module handle of its own on first use (and
// tried again by later lookups while it is missing). Without it, or without
// the id, or with an empty entry, the default is used; a null default gives
// an empty text. Library texts longer than 999 characters are cut to 999.
#pragma once

#include <windows.h>

#include <string>

namespace korv {

class LocalText {
public:
    LocalText(int textId, const wchar_t* defaultText);
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;

    // The text; valid while this object lives.
    const wchar_t* Get();

private:
    wchar_t buffer_[1000];
    const wchar_t* defaultText_;
    int textId_;
};

// Shorthand for the usual use: look the text up and copy it at once.
std::wstring LoadText(int textId, const wchar_t* defaultText);

// A text too long for the string table, kept in the library as an RCDATA
// resource of UTF-8 text: its lines end in CR LF (as the file's lines end
// in LF or CR LF), the last one too when the file's does. Empty when the
// library or the resource is missing.
std::wstring LoadLongText(int resourceId);

// Full path of IntallerRes.dll in this program's own folder. Both loads of
// the library use it: the process runs with administrator rights, so a
// same-named DLL elsewhere on the search path must never be picked up.
std::wstring ResourceLibraryPath();

// Loads IntallerRes.dll from ResourceLibraryPath() as data (its code never
// runs); null when it is missing or cannot be loaded. The caller owns the
// handle.
HMODULE LoadResourceLibrary();

}  // namespace korv
