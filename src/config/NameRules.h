// What a name or value read from the medium or the registry must look like
// before the elevated program joins it to a folder or pastes it into a
// command line. Plain text in, yes or no out: no platform, so the fuzzers
// build this for Linux as well.
#pragma once

#include <string>

namespace korv {

// A plain name: one file or folder name that stays in the folder it is
// joined to. Not empty, and without "\", "/", ":", "..", or control
// characters (which would make a path step out, name a drive or a stream,
// or hide in a log line).
bool IsPlainName(const std::wstring& name);

// A value that goes into a command line between quotes ("..." or '...'):
// no quote of either kind, which would end the field early and let the rest
// of the value become words of their own, and no control characters.
bool IsQuotedFieldValue(const std::wstring& value);

// A value that goes into a command line without quotes (lang=..., VERSION=...):
// as a quoted one, and no blanks either, which would start the next word.
bool IsUnquotedFieldValue(const std::wstring& value);

}  // namespace korv
