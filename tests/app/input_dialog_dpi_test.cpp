// The input window's geometry at 96, 120, 144 and 192 DPI. Wine takes a process's DPI from
// HKEY_CURRENT_USER\Control Panel\Desktop\LogPixels when the process starts, so each DPI is
// measured by a fresh helper process (input_dialog_geometry_helper.exe, beside this program)
// after the value has been set; the value is put back afterwards. This changes the DPI that
// every process of the Wine session starts with, so CTest runs these cases alone.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const wchar_t DesktopKey[] = L"Control Panel\\Desktop";
const wchar_t LogPixels[] = L"LogPixels";

std::wstring HelperPath() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"input_dialog_geometry_helper.exe";
}

// The helper's standard output, or an empty string when it could not be run or failed.
std::string RunHelper() {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return "";
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + HelperPath() + L"\"";
    BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            output.append(buffer, got);
        }
        WaitForSingleObject(process.hProcess, 60000);
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        if (exitCode != 0) {
            output.clear();
        }
    }
    CloseHandle(readEnd);
    return output;
}

struct DpiRow {
    int dpi;
    std::vector<long> expected; // as the helper prints them, after the two DPI figures
};

class InputDialogDpiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DWORD size = sizeof(savedValue_);
        hadValue_ = RegGetValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels, RRF_RT_REG_DWORD,
                                 nullptr, &savedValue_, &size) == ERROR_SUCCESS;
    }
    void TearDown() override {
        if (hadValue_) {
            SetLogPixels(savedValue_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels);
        }
    }
    static bool SetLogPixels(DWORD dpi) {
        return RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, LogPixels, REG_DWORD, &dpi,
                               sizeof(dpi)) == ERROR_SUCCESS;
    }

    bool hadValue_ = false;
    DWORD savedValue_ = 0;
};

TEST_F(InputDialogDpiTest, WindowAndControlsScaleWithTheDpi) {
    // Window width x height; then label, edit box, OK, Cancel as x, y, width, height.
    const DpiRow rows[] = {
        {96, {356, 140, 12, 12, 316, 18, 12, 34, 316, 24, 172, 72, 76, 25, 252, 72, 76, 25}},
        {120, {445, 175, 15, 15, 395, 23, 15, 43, 395, 30, 215, 90, 95, 31, 315, 90, 95, 31}},
        {144, {534, 210, 18, 18, 474, 27, 18, 51, 474, 36, 258, 108, 114, 38, 378, 108, 114, 38}},
        {192, {712, 280, 24, 24, 632, 36, 24, 68, 632, 48, 344, 144, 152, 50, 504, 144, 152, 50}},
    };
    for (const DpiRow& row : rows) {
        SCOPED_TRACE(row.dpi);
        ASSERT_TRUE(SetLogPixels(static_cast<DWORD>(row.dpi)));
        std::string output = RunHelper();
        ASSERT_FALSE(output.empty()) << "the helper did not measure the window";
        std::istringstream figures(output);
        long systemDpi = 0, windowDpi = 0;
        figures >> systemDpi >> windowDpi;
        ASSERT_EQ(systemDpi, row.dpi) << "the helper did not start at this DPI: " << output;
        EXPECT_EQ(windowDpi, row.dpi);
        std::vector<long> measured;
        for (long value = 0; figures >> value;) {
            measured.push_back(value);
        }
        EXPECT_EQ(measured, row.expected) << output;
    }
}

} // namespace
