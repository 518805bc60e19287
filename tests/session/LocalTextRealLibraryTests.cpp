// LocalText reading the product's own IntallerRes.dll (built beside this test
// program): the texts that are easiest to spoil on the way through windres
// and LoadStringW.
#include <gtest/gtest.h>

#include <string>

#include "session/LocalText.h"
#include "resource.h"

using namespace korv;

TEST(LocalTextRealLibrary, TextsArriveExactly) {
    struct Case {
        int id;
        const wchar_t* defaultText;
        const wchar_t* expected;
    };
    const Case cases[] = {
        // full-width colon U+FF1A
        {IDS_REGISTRY_WRITE_FAILED, L"default", L"Error\xFF1AUnable to Create the registry information!"},
        // line break and a double quote among the listed characters
        {IDS_PATH_INVALID_CHARS, L"default",
         L"Invalid characters in path name.\nThe following characters are not valid in path names: "
         L"/ : * ? \" < > |"},
        // two blanks after "Please"
        {IDS_SELECT_FOLDER_TITLE, L"default", L"Please  Select the installation Path."},
        {IDS_DISK_SPACE_QUERY_FAILED, L"default",
         L"Get disk space failed.\nYou do not have sufficient security privileges to install software on this "
         L"computer.Please contact your system administrator or log off and log-in again as an administrator."},
        {IDS_FILE_NOT_FOUND, L"default", L"File :'%s' does not exist!"},
        // the library's text serves every place, whatever its default
        {IDS_PRODUCT_DISPLAY_NAME, L"Korvanix 2024", L"Korvanix2024"},
        {IDS_SLIDE1_TEXT, L"Powerful tools help you automate and intelligentize your work.",
         L"Excellent Performance, smooth and seamless drawing experience."},
        {IDS_STAGE_PRODUCT_AND_HELP, L"default", L"Installing Korvanix and Help..."},
        {IDS_STAGE_COLLABORATION, L"default", L"Installing Korvanix Collaboration System..."},
        // empty in English: the caller's default stands
        {IDS_EDITION_SUFFIX, L"", L""},
        {IDS_MODIFY_DESCRIPTION, L"built-in", L"built-in"},
    };
    for (const Case& c : cases) {
        LocalText text(c.id, c.defaultText);
        EXPECT_EQ(std::wstring(text.Get()), c.expected) << "id " << c.id;
    }
}
