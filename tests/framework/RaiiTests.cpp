#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "framework/Framework.h"

namespace {

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

}  // namespace

TEST(Raii, UniqueHandleClosesWhatItOwnsAndTreatsInvalidHandleValueAsEmpty) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        fw::UniqueHandle owned(raw);
        EXPECT_TRUE(owned);
    }
    EXPECT_FALSE(IsOpen(raw)) << "closed at scope end";

    HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        fw::UniqueHandle owned(kept);
        HANDLE released = owned.Release();
        EXPECT_EQ(released, kept);
        EXPECT_FALSE(owned);
    }
    EXPECT_TRUE(IsOpen(kept)) << "Release gives up ownership";
    CloseHandle(kept);

    fw::UniqueHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid) << "a failed CreateFile result is empty, not a handle";
}

TEST(Raii, MemoryDcSelectsItsBitmapAndSelectGuardPutsThePreviousObjectBack) {
    fw::ClientDC screen(nullptr);
    fw::MemoryDC memory(screen, 31, 17);
    ASSERT_TRUE(memory);
    EXPECT_EQ(GetCurrentObject(memory, OBJ_BITMAP), memory.Bitmap());
    BITMAP info{};
    GetObjectW(memory.Bitmap(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 31);
    EXPECT_EQ(info.bmHeight, 17);
    EXPECT_GT(info.bmBitsPixel, 1) << "compatible with the screen, not with the monochrome memory DC";

    fw::UniqueBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
    HGDIOBJ before = GetCurrentObject(memory, OBJ_BRUSH);
    {
        fw::SelectGuard select(memory, brush.Get());
        EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(GetCurrentObject(memory, OBJ_BRUSH), before);
}

TEST(Raii, RegKeyReadsBackWhatItWroteAndRefusesMissingOrMistypedValues) {
    const std::wstring path = L"Software\\KorvanixTests\\fw_" + std::to_wstring(GetCurrentProcessId());
    {
        fw::RegKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS | KEY_WOW64_32KEY)) << key.LastError();
        ASSERT_TRUE(key.SetString(L"Text", L"C:\\Program Files\\X"));
        ASSERT_TRUE(key.SetDword(L"Number", 1603));
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, path + L"\\Sub", KEY_ALL_ACCESS | KEY_WOW64_32KEY));
    }
    fw::RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, path, KEY_READ | KEY_WOW64_32KEY));
    std::wstring text;
    DWORD number = 0;
    EXPECT_TRUE(key.QueryString(L"Text", text));
    EXPECT_EQ(text, L"C:\\Program Files\\X");
    EXPECT_TRUE(key.QueryDword(L"Number", number));
    EXPECT_EQ(number, 1603u);

    text = L"unchanged";
    EXPECT_FALSE(key.QueryString(L"Number", text)) << "a DWORD is not a string";
    EXPECT_FALSE(key.QueryDword(L"Text", number)) << "a string is not a DWORD";
    EXPECT_FALSE(key.QueryString(L"Missing", text));
    EXPECT_EQ(text, L"unchanged");

    std::wstring name;
    EXPECT_TRUE(key.EnumKeyName(0, name));
    EXPECT_EQ(name, L"Sub");
    EXPECT_FALSE(key.EnumKeyName(1, name));

    fw::RegKey missing;
    EXPECT_FALSE(missing.Open(HKEY_CURRENT_USER, path + L"\\Nowhere", KEY_READ));
    EXPECT_EQ(missing.LastError(), ERROR_FILE_NOT_FOUND);
    key.Close();
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}

TEST(Raii, ComPtrCountsItsReferencesAndQueriesOtherInterfaces) {
    fw::ComInit com;
    ASSERT_TRUE(com.Succeeded());
    fw::ComPtr<IShellLinkW> link;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.Receive())), S_OK);
    auto count = [&] {
        link->AddRef();
        return link->Release();
    };
    ULONG alone = count();
    {
        fw::ComPtr<IShellLinkW> copy = link;
        EXPECT_EQ(count(), alone + 1) << "a copy holds a reference of its own";
        fw::ComPtr<IShellLinkW> moved = std::move(copy);
        EXPECT_EQ(count(), alone + 1) << "a move passes the reference on";
        EXPECT_FALSE(copy);
    }
    EXPECT_EQ(count(), alone) << "both let go at scope end";

    fw::ComPtr<IPersistFile> file;
    EXPECT_EQ(link.As(file), S_OK);
    EXPECT_TRUE(file);
    fw::ComPtr<IShellFolder> wrong;
    EXPECT_NE(link.As(wrong), S_OK);
    EXPECT_FALSE(wrong);
}
