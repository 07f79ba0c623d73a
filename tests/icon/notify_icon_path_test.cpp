// Windows 11's ExecutablePath against Kivet's own path: known folders written as their ids,
// case, other programs and entries that are not paths at all.
#include <gtest/gtest.h>

#include <cstring>

#include "icon/notify_icon_path.h"

namespace {

const KnownFolderId ProgramFiles = {
    0x6D809377, 0x6AF0, 0x444B, {0x89, 0x57, 0xA3, 0x77, 0x3F, 0x02, 0x20, 0x0E}};
const KnownFolderId LocalAppData = {
    0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

bool SameId(const KnownFolderId& a, const KnownFolderId& b) {
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
           std::memcmp(a.data4, b.data4, sizeof(a.data4)) == 0;
}

// Knows two folders; any other id is unknown.
bool ResolveTwoFolders(const KnownFolderId& id, wchar_t* folder, size_t capacity) {
    const wchar_t* path = SameId(id, ProgramFiles)   ? L"C:\\Program Files"
                          : SameId(id, LocalAppData) ? L"C:\\Users\\\u00C4nna\\AppData\\Local"
                                                     : nullptr;
    if (path == nullptr || wcslen(path) >= capacity) {
        return false;
    }
    wcscpy(folder, path);
    return true;
}

TEST(NotifyIconPathTest, MatchesOnlyThisExecutableWhateverFormWindowsWroteItIn) {
    const wchar_t* const installed = L"C:\\Program Files\\Kivet\\Kivet.exe";
    const wchar_t* const perUser =
        L"C:\\Users\\\u00E4nna\\AppData\\Local\\Programs\\Kivet\\Kivet.exe";
    const struct {
        const wchar_t* stored;
        const wchar_t* module;
        bool same;
    } cases[] = {
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Kivet\\Kivet.exe", installed, true},
        {L"{6d809377-6af0-444b-8957-a3773f02200e}\\KIVET\\kivet.EXE", installed, true},
        {L"{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}\\Programs\\Kivet\\Kivet.exe", perUser, true},
        {L"c:\\program files\\kivet\\kivet.exe", installed, true},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Other\\Other.exe", installed, false},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Kivet\\Kivet.exe",
         L"C:\\Program Files (x86)\\Kivet\\Kivet.exe", false},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Kivet", installed, false},
        {L"{6D809377-6AF0-444B-8957-A3773F02200E}\\Kivet\\Kivet.exe.old", installed, false},
        {L"{905E63B6-C1BF-494E-B29C-65B732D3D21A}\\Kivet\\Kivet.exe", installed, false}, // unknown
        {L"{6D809377-6AF0-444B-8957-A3773F02200E\\Kivet\\Kivet.exe", installed, false},
        {L"{6D809377-6AF0-444B-8957+A3773F02200E}\\Kivet\\Kivet.exe", installed, false},
        {L"{6D809377-6AF0-444B-8957-A3773F02200G}\\Kivet\\Kivet.exe", installed, false},
        {L"{6D809377", installed, false},
        {L"", installed, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSameExecutablePath(c.stored, c.module, ResolveTwoFolders), c.same)
            << testing::PrintToString(std::wstring(c.stored));
    }
}

} // namespace
