// What Setup.ini says, key by key, with the defaults and treatments of each
// key: read through IniValues, so the reading decisions need no platform
// (the profile-file source lives in SetupConfig.cpp; the fuzzers feed their
// own values).
//
//   SetupIniValues values = ReadSetupIni(ProfileFile(path), session.os64Bit);
#pragma once

#include <string>
#include <vector>

#include "session/PackageRecord.h"

namespace korv {

// The values of one Setup.ini, as the Windows profile functions give them:
// section and key names match without regard to case, a missing key gives
// the fallback.
class IniValues {
public:
    virtual ~IniValues() = default;
    // The whole text of the value, however long.
    virtual std::wstring Text(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) const = 0;
    // The value as a decimal number.
    virtual int Number(const wchar_t* section, const wchar_t* key, int fallback) const = 0;
};

// Package counts above this are not read: a list that large is not a real
// medium's, and reading it would take minutes of profile calls. Such a file
// gives an empty list, as a count below zero does.
constexpr int kMaxPackageCount = 1000;

// Everything the medium's Setup.ini gives the session, treated as the
// session fields need it (the language code and id, which need the
// platform's lower-casing, and the document paths, which need the medium's
// folder, are made by the caller).
struct SetupIniValues {
    std::wstring companyName;     // "Tallowick" when empty; trimmed
    std::wstring productVersion;  // "21.0" when empty; trimmed
    int product64Bit = 0;
    std::wstring targetFolder;    // PATH or SETUP_DEST, trimmed, without trailing backslashes
    std::wstring languageName;    // as written
    int netTest = 0;
    std::vector<PackageRecord> packages;
    int classicWorkspace = 0;
    int numValue = 1;
    unsigned long textColour = 0;  // red | green << 8 | blue << 16
    int beta = 0;
    std::wstring migrateFolderName;
    std::wstring migratePrevious;
    std::wstring migrateExport;
    std::wstring migrateImport;
    std::wstring migrateReset;
    std::wstring migrateVersion;
    std::wstring globalServer;
    std::wstring channel;          // "0000" when missing
    std::wstring privacyPolicy;    // document names relative to the medium's folder
    std::wstring systemRequire;
    std::wstring licenseAgree;
    std::wstring unusableKey;      // the first key whose value is refused (UnusableSetupIniKey); empty when none
};

// Reads every key in the order the medium's file is read. os64Bit chooses
// the default folder's key for a 32-bit medium.
SetupIniValues ReadSetupIni(const IniValues& ini, int os64Bit);

// The first key, as "[SECTION] KEY", whose value the program refuses to use:
// a company, folder or shortcut name that is no plain name (NameRules.h), a
// value with a quote or control character for a command line, a blank in a
// value that goes into one unquoted. Empty when every value can be used.
std::wstring UnusableSetupIniKey(const SetupIniValues& values);

// [packnum] count and the [sub1] .. [subN] sections: one record per index,
// a missing section giving a record of defaults.
std::vector<PackageRecord> ReadPackageRecords(const IniValues& ini);

}  // namespace korv
