#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/strings.h"
#include "settings/heap_fakes.h"
#include "settings/same_text.h"
#include "settings/startup_entry.h"
#include "support/registry_sandbox.h"

namespace {

const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring fakeModulePath;

// Behaves like the module query of Windows 10: a path that does not fit is cut to the
// capacity less one, terminated, and reported with the whole capacity as its length.
DWORD WINAPI FakeGetModuleFileName(HMODULE module, LPWSTR path, DWORD capacity) {
    EXPECT_EQ(module, nullptr);
    if (fakeModulePath.size() >= capacity) {
        wmemcpy(path, fakeModulePath.data(), capacity - 1);
        path[capacity - 1] = L'\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return capacity;
    }
    wmemcpy(path, fakeModulePath.c_str(), fakeModulePath.size() + 1);
    return static_cast<DWORD>(fakeModulePath.size());
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

class StartupEntryTest : public RegistrySandboxTest {
  protected:
    void SetUp() override {
        RegistrySandboxTest::SetUp();
        fakeModulePath = L"C:\\Program Files\\Kivet\\Kivet.exe";
        platform.getModuleFileName = FakeGetModuleFileName;
    }
    void TearDown() override {
        RegistrySandboxTest::TearDown();
        heap_fakes::ReleaseGuardedBlocks();
    }

    // "<null>" when there is no quoted path.
    std::wstring QuotedModulePath() {
        wchar_t* quoted = GetQuotedModulePath();
        if (quoted == nullptr) {
            return L"<null>";
        }
        std::wstring result(quoted);
        FreeHeapBlock(quoted);
        return result;
    }

    void PutRunValue(const std::wstring& text) {
        ASSERT_EQ(WriteTestString(RunKey, L"Kivet", text), ERROR_SUCCESS);
    }

    // The value's data as stored, terminator included, or "<absent>".
    std::wstring RunValue() {
        TestRegistryValue value = ReadTestValue(RunKey, L"Kivet");
        if (!value.exists) {
            return L"<absent>";
        }
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        return value.Units();
    }

    std::wstring Stored(const std::wstring& path) {
        return Quoted(path) + L'\0';
    }
};

} // namespace

// The quoted module path

TEST_F(StartupEntryTest, QuotedPathOfTheRealExecutable) {
    ResetPlatformCalls();
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(QuotedModulePath(), Quoted(path));
}

TEST_F(StartupEntryTest, QuotedPathAcceptsOneTo32766Units) {
    fakeModulePath = L"K";
    EXPECT_EQ(QuotedModulePath(), L"\"K\"");

    fakeModulePath = L"C:\\" + std::wstring(32766 - 3, L'p');
    platform.heapAlloc = heap_fakes::GuardedHeapAlloc;
    EXPECT_TRUE(SameText(QuotedModulePath(), Quoted(fakeModulePath)));

    for (size_t length : {size_t(0), size_t(32767), size_t(32768), size_t(40000)}) {
        fakeModulePath = std::wstring(length, L'p');
        EXPECT_EQ(QuotedModulePath(), L"<null>") << length << " units";
    }
}

TEST_F(StartupEntryTest, QuotedPathIsNullWhenEitherAllocationFails) {
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    for (unsigned failing : {1u, 2u}) {
        heap_fakes::ResetAllocationCount({failing});
        EXPECT_EQ(QuotedModulePath(), L"<null>") << "allocation " << failing;
        EXPECT_EQ(heap_fakes::allocationCount, failing);
    }
}

// Whether it is enabled

TEST_F(StartupEntryTest, EnabledOnlyForThisExecutablesQuotedPathFoldingAToZ) {
    const std::wstring path = fakeModulePath;
    struct Case {
        std::wstring stored;
        bool enabled;
    };
    const Case cases[] = {
        {Quoted(path), true},
        {L"\"c:\\PROGRAM FILES\\kivet\\KIVET.EXE\"", true},
        {path, false},
        {Quoted(path) + L" --minimised", false},
        {Quoted(L"D:\\Tools\\Kivet\\Kivet.exe"), false},
        {Quoted(path).substr(0, Quoted(path).size() - 1), false},
        {L"", false},
    };
    for (const Case& c : cases) {
        PutRunValue(c.stored);
        EXPECT_EQ(IsStartWithWindowsEnabled(), c.enabled) << c.stored;
    }
}

TEST_F(StartupEntryTest, LettersOutsideAToZMustMatchExactly) {
    fakeModulePath = L"C:\\Users\\\u00C4nna [1]\\Kivet.exe";
    PutRunValue(L"\"C:\\USERS\\\u00C4NNA [1]\\KIVET.EXE\"");
    EXPECT_TRUE(IsStartWithWindowsEnabled());

    PutRunValue(L"\"C:\\Users\\\u00E4nna [1]\\Kivet.exe\"");
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "A with diaeresis in the other case";

    PutRunValue(L"\"C:\\Users\\\u00C4nna {1}\\Kivet.exe\"");
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "brackets are 0x20 apart from braces";
}

TEST_F(StartupEntryTest, NotEnabledForValuesThatAreNotPlainTextOrWhenAnythingIsMissing) {
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "no Run key";
    ASSERT_EQ(WriteTestString(RunKey, L"Other", Quoted(fakeModulePath)), ERROR_SUCCESS);
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "no value";

    ASSERT_EQ(WriteTestDword(RunKey, L"Kivet", 1), ERROR_SUCCESS);
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "a dword";

    const std::wstring quoted = Quoted(fakeModulePath);
    ASSERT_EQ(WriteTestValue(RunKey, L"Kivet", REG_BINARY, quoted.c_str(),
                             static_cast<DWORD>((quoted.size() + 1) * 2)),
              ERROR_SUCCESS);
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "binary";

    ASSERT_EQ(WriteTestValue(RunKey, L"Kivet", REG_EXPAND_SZ, quoted.c_str(),
                             static_cast<DWORD>((quoted.size() + 1) * 2)),
              ERROR_SUCCESS);
    EXPECT_TRUE(IsStartWithWindowsEnabled()) << "expandable text, compared as stored";

    SetEnvironmentVariableW(L"KIVET_TEST_PATH", fakeModulePath.c_str());
    ASSERT_EQ(WriteTestValue(RunKey, L"Kivet", REG_EXPAND_SZ, L"\"%KIVET_TEST_PATH%\"",
                             sizeof(L"\"%KIVET_TEST_PATH%\"")),
              ERROR_SUCCESS);
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "references are not expanded";

    PutRunValue(quoted);
    fakeModulePath.clear();
    EXPECT_FALSE(IsStartWithWindowsEnabled()) << "no module path";
}

TEST_F(StartupEntryTest, StoredPathWithoutTerminatorOrWithOddSizeIsReadInsideItsBuffer) {
    const std::wstring quoted = Quoted(fakeModulePath);
    const BYTE* first = reinterpret_cast<const BYTE*>(quoted.data());
    const std::vector<BYTE> unterminated(first, first + quoted.size() * 2);
    std::vector<BYTE> halfTerminator = unterminated;
    halfTerminator.push_back(0);
    std::vector<BYTE> halfLetter = unterminated;
    halfLetter.push_back('x');
    struct Case {
        const char* what;
        const std::vector<BYTE>& data;
        bool enabled;
    };
    const Case cases[] = {
        {"no terminator", unterminated, true},
        {"half a terminator", halfTerminator, true},
        {"half a letter after the path", halfLetter, false},
    };
    platform.heapAlloc = heap_fakes::GuardedHeapAlloc;
    for (const Case& c : cases) {
        ASSERT_EQ(WriteTestValue(RunKey, L"Kivet", REG_SZ, c.data.data(),
                                 static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
        EXPECT_EQ(IsStartWithWindowsEnabled(), c.enabled) << c.what;
    }
}

TEST_F(StartupEntryTest, NotEnabledWhenMemoryRunsOut) {
    PutRunValue(Quoted(fakeModulePath));
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    // The path buffer, the quoted path, the value's buffer (its empty default then stands).
    for (unsigned failing : {1u, 2u, 3u}) {
        heap_fakes::ResetAllocationCount({failing});
        EXPECT_FALSE(IsStartWithWindowsEnabled()) << "allocation " << failing;
    }
    heap_fakes::ResetAllocationCount({}, 3); // no text at all
    EXPECT_FALSE(IsStartWithWindowsEnabled());
    heap_fakes::ResetAllocationCount({});
    EXPECT_TRUE(IsStartWithWindowsEnabled());
}

// Enabling and disabling

TEST_F(StartupEntryTest, EnablingWritesTheQuotedPathAndRewritesWhateverWasThere) {
    EXPECT_TRUE(SetStartWithWindows(true));
    EXPECT_EQ(RunValue(), Stored(fakeModulePath));
    EXPECT_EQ(ReadTestValue(RunKey, L"Kivet").bytes.size(), fakeModulePath.size() * 2 + 6);
    EXPECT_TRUE(IsStartWithWindowsEnabled());
    EXPECT_TRUE(SetStartWithWindows(true)) << "twice";
    EXPECT_EQ(RunValue(), Stored(fakeModulePath));

    for (const std::wstring& before :
         {fakeModulePath, Quoted(L"D:\\Tools\\Kivet\\Kivet.exe"), Quoted(fakeModulePath) + L" x"}) {
        PutRunValue(before);
        EXPECT_TRUE(SetStartWithWindows(true)) << before;
        EXPECT_EQ(RunValue(), Stored(fakeModulePath)) << before;
    }
    ASSERT_EQ(WriteTestDword(RunKey, L"Kivet", 1), ERROR_SUCCESS);
    EXPECT_TRUE(SetStartWithWindows(true));
    EXPECT_EQ(RunValue(), Stored(fakeModulePath));
}

TEST_F(StartupEntryTest, DisablingDeletesOnlyThisValueWhateverItHolds) {
    ASSERT_EQ(WriteTestString(RunKey, L"OtherProgram", L"\"C:\\Other.exe\""), ERROR_SUCCESS);
    PutRunValue(Quoted(L"D:\\Tools\\Kivet\\Kivet.exe"));
    EXPECT_TRUE(SetStartWithWindows(false));
    EXPECT_EQ(RunValue(), L"<absent>");

    ASSERT_EQ(WriteTestDword(RunKey, L"Kivet", 1), ERROR_SUCCESS);
    EXPECT_TRUE(SetStartWithWindows(false));
    EXPECT_EQ(RunValue(), L"<absent>");
    EXPECT_TRUE(SetStartWithWindows(false)) << "value already absent";

    EXPECT_EQ(ReadTestValue(RunKey, L"OtherProgram").Units(),
              std::wstring(L"\"C:\\Other.exe\"") + L'\0');
}

TEST_F(StartupEntryTest, DisablingWithoutRunKeySucceedsAndCreatesNothing) {
    fakeModulePath.clear(); // disabling does not need the path
    EXPECT_TRUE(SetStartWithWindows(false));
    EXPECT_FALSE(TestKeyExists(L"Software"));
}

TEST_F(StartupEntryTest, FailedEnablingReturnsFalseAndChangesNothing) {
    // No module path: the registry is not touched.
    PutRunValue(L"kept");
    fakeModulePath.clear();
    EXPECT_FALSE(SetStartWithWindows(true));
    EXPECT_EQ(RunValue(), std::wstring(L"kept") + L'\0');

    // No memory for the path.
    fakeModulePath = L"C:\\Kivet.exe";
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    heap_fakes::ResetAllocationCount({2});
    EXPECT_FALSE(SetStartWithWindows(true));
    EXPECT_EQ(RunValue(), std::wstring(L"kept") + L'\0');
    ResetPlatformCalls();
    platform.getModuleFileName = FakeGetModuleFileName;

    // The Run key cannot be created: a lasting key is refused below a volatile one.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software");
    ASSERT_EQ(CreateVolatileTestKey(L"Software\\Microsoft\\Windows\\CurrentVersion"),
              ERROR_SUCCESS);
    EXPECT_FALSE(SetStartWithWindows(true));
    EXPECT_FALSE(TestKeyExists(RunKey));
}

TEST_F(StartupEntryTest, DisablingFailsWhenTheRunKeyCannotBeOpened) {
    PutRunValue(Quoted(fakeModulePath));
    ASSERT_TRUE(PointSandboxAtDeletedKey());
    EXPECT_FALSE(SetStartWithWindows(false));
    EXPECT_FALSE(SetStartWithWindows(true));
    EXPECT_FALSE(IsStartWithWindowsEnabled());
    PointSandboxBackAtScratchKey();
    EXPECT_EQ(RunValue(), Stored(fakeModulePath));
}
