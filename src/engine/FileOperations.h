// Folder and file operations of the install engine.
#pragma once

#include <string>

namespace korv {

// Longest path the folder walk looks at, in characters.
constexpr size_t kFolderPathChars = 260;

// Creates every missing folder along path and logs each one it creates
// (two CreateDirectory entries, outermost folder first). Only folders that a
// separator ("\" or "/") follows are created, so a path that must exist
// completely ends with one; at most the first 260 characters are walked.
// 1 when every folder exists or was created; 0 at the first folder that
// cannot be created (the folders made before it stay, with their entries).
int CreateFolderTree(const std::wstring& path);

// 1 when the folder does not exist or holds nothing but "." and "..",
// 0 when it holds anything else. A folder that cannot be read counts as empty.
int IsFolderEmpty(const std::wstring& path);

// Copies from over to and leaves the copy writable. Files on a DVD or an ISO
// image carry the read-only attribute and a copy keeps it, so the choices
// later written into the installed Setup.ini would be lost and a repair from
// a newer medium could not replace the setup files: the attribute is
// cleared on the copy, and on a read-only file already at to before the
// copy replaces it. True when the copy was made.
bool CopyFileWritable(const std::wstring& from, const std::wstring& to);

// True when a file search on the exact path finds something (the runners'
// test whether what they are to start is there).
bool FileFound(const std::wstring& path);

// Writes a value into an existing profile file (the installed copy's
// Setup.ini); a missing file is left missing, since writing a value would
// otherwise create a Setup.ini that holds nothing else. False when the file
// is missing or the value could not be written.
bool WriteIniValueIfPresent(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                            const std::wstring& value);

// The KiB the files below folder take, rounded up, leaving out the file
// skipName (any letter case; empty: none) in folder itself; folders reached
// through a link are not counted. At most 0xFFFFFFFF; 0 for a folder that
// cannot be read.
unsigned long FolderSizeKiB(const std::wstring& folder, const std::wstring& skipName);

}  // namespace korv
