// Setup.manifest and Setup.manifest.sig: the signed list of a medium's files
// (written by tools/medium/sign-medium.py, format in docs/deployment.md).
// Reading the text needs no platform; MediumVerification.h checks the files.
//
//   Korvanix medium manifest 1
//   <sha256, 64 hex digits> <size in bytes> <path relative to the medium>
#pragma once

#include <string>
#include <vector>

namespace korv {

struct ManifestEntry {
    std::wstring path;  // relative, backslashes, as listed
    unsigned long long size = 0;
    unsigned char sha256[32] = {};
};

// Parses the manifest's bytes (UTF-8, lines ending in LF or CRLF). False on
// anything that is not a manifest: another first line, a malformed row, a
// path that leaves the medium (absolute, drive, "..", empty parts) or one
// listed twice; `badLine` then names the line (1-based).
bool ParseMediumManifest(const std::string& bytes, std::vector<ManifestEntry>& entries, size_t& badLine);

// The signature file: 128 hex digits (r then s), an optional line end.
bool ParseManifestSignature(const std::string& bytes, unsigned char (&signature)[64]);

// A relative path that stays inside the medium.
bool IsMediumRelativePath(const std::wstring& path);

// The entry for `path` (compared without regard to ASCII case), or null.
const ManifestEntry* FindManifestEntry(const std::vector<ManifestEntry>& entries, const std::wstring& path);

std::wstring HexText(const unsigned char* bytes, size_t count);

}  // namespace korv
