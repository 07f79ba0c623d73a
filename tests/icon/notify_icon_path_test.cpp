// Windows 11's ExecutablePath against Kivet's own path.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "icon/notify_icon_path.h"

namespace {

const KnownFolderId ProgramFiles = {
    0x6D809377, 0x6AF0, 0x444B, {0x89, 0x57, 0xA3, 0x77, 0x3F, 0x02, 0x20, 0x0E}};

bool ResolveProgramFiles(const KnownFolderId& id, wchar_t* folder, size_t capacity) {
    const wchar_t path[] = L"C:\\Program Files";
    bool known = std::memcmp(&id, &ProgramFiles, sizeof(id)) == 0 && capacity > wcslen(path);
    return known && wcscpy(folder, path) != nullptr;
}

TEST(NotifyIconPathTest, MatchesOnlyThisExecutableWhateverFormWindowsWroteItIn) {
    const wchar_t* const installed = L"C:\\Program Files\\Kivet\\Kivet.exe";
    const struct {
        const wchar_t* stored;
        const wchar_t* module;
        bool same;
    } cases[] = {
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Kivet\\Kivet.exe", installed, true},
        {L"{6d809377-6af0-444b-8957-a3773f02200e}\\KIVET\\kivet.EXE", installed, true},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\\u00C4nna\\Kivet.exe",
         L"C:\\Program Files\\\u00E4nna\\Kivet.exe", true},
        {L"c:\\program files\\kivet\\kivet.exe", installed, true},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Other\\Other.exe", installed, false},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Kivet\\Kivet.exe",
         L"C:\\Program Files (x86)\\Kivet\\Kivet.exe", false},
        {L"{905E63B6-C1BF-494E-B29C-65B732D3D21A}\\Kivet\\Kivet.exe", installed, false}, // unknown
        {L"{6D809377-6AF0-444B-8957-A3773F02200E\\Kivet\\Kivet.exe", installed, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSameExecutablePath(c.stored, c.module, ResolveProgramFiles), c.same)
            << testing::PrintToString(std::wstring(c.stored));
    }
}

} // namespace
