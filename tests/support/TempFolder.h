// A fresh folder under the temporary folder, removed with everything in it
// when the object goes.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

namespace korv::test {

class TempFolder {
public:
    explicit TempFolder(const std::wstring& tag = L"korv") {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        path_ = std::wstring(temp) + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(counter++);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a trailing backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

    // Writes bytes to a file in the folder (creating subfolders is the caller's job).
    void Write(const std::wstring& name, const std::string& bytes) const {
        HANDLE file = CreateFileW((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    static void RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                std::wstring child = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child);
                } else {
                    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }

private:
    std::wstring path_;
};

}  // namespace korv::test
