// kivet-preview run as a process under Wine: exit codes, the one line on stderr, no file left
// behind on failure, and PNGs that decode to the renderer's own pixels.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "png_writer.h"
#include "preview_render.h"
#include "week/iso_week.h"

namespace {

// The build's Unix path, as Wine sees it through drive Z:.
std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) {
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    }
    return path;
}

struct ToolRun {
    DWORD exitCode = 0;
    std::string errors;
};

ToolRun RunPreview(const std::wstring& arguments) {
    ToolRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        ADD_FAILURE() << "no pipe";
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = writeEnd;
    std::wstring command = L"\"" + WinePath(KIVET_PREVIEW_EXE) + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        ADD_FAILURE() << "cannot start kivet-preview";
        return run;
    }
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        run.errors.append(buffer, got);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    return run;
}

// A scratch folder of its own, emptied and removed afterwards.
class PreviewToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temporary[MAX_PATH];
        GetTempPathW(MAX_PATH, temporary);
        folder = std::wstring(temporary) + L"kivet-preview-test-" +
                 std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void TearDown() override {
        for (const std::wstring& name : FilesInFolder()) {
            DeleteFileW((folder + L"\\" + name).c_str());
        }
        RemoveDirectoryW(folder.c_str());
        CoUninitialize();
    }

    std::vector<std::wstring> FilesInFolder() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                names.push_back(found.cFileName);
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    std::wstring folder;
};

} // namespace

TEST_F(PreviewToolTest, RefusalsExitWithTwoAndOneLineOnStderrAndLeaveNoFile) {
    const std::wstring out = L"--out \"" + folder + L"\\icon.png\" ";
    const std::wstring refused[] = {
        L"",
        out + L"--wrong 1",
        out + L"--date 2026-02-29",
        out + L"--date 29.02.2024",
        out + L"--edge 15",
        out + L"--edge 257",
        out + L"--scheme 2",
        L"--out \"" + folder + L"\\no such folder\\icon.png\"",
        L"--sheet \"" + folder + L"\\no such folder\\sheet.png\"",
    };
    for (const std::wstring& arguments : refused) {
        SCOPED_TRACE(std::string(arguments.begin(), arguments.end()));
        ToolRun run = RunPreview(arguments);
        EXPECT_EQ(run.exitCode, 2u);
        ASSERT_FALSE(run.errors.empty());
        EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
        EXPECT_EQ(run.errors.rfind("kivet-preview: ", 0), 0u) << run.errors;
    }
    EXPECT_TRUE(FilesInFolder().empty());
}

TEST_F(PreviewToolTest, TheIconFileHoldsTheRenderersPixels) {
    const std::wstring path = folder + L"\\icon.png";
    for (int edge : {16, 24}) {
        // At 24, a custom text colour on a background, written RRGGBB as people write them.
        const bool coloured = edge == 24;
        ToolRun run = RunPreview(L"--out \"" + path + L"\" --date 2026-12-03 --edge " +
                                 std::to_wstring(edge) +
                                 L" --line KW --position below --leading-zero 1 --scheme 1" +
                                 (coloured ? L" --text-colour FF8000 --background 203040" : L""));
        ASSERT_EQ(run.exitCode, 0u) << run.errors;
        EXPECT_TRUE(run.errors.empty());

        PreviewImage written;
        ASSERT_TRUE(ReadPngFile(path, &written));
        PreviewIconSettings settings;
        settings.week = ComputeIsoWeek(2026, 12, 3);
        settings.line = L"KW";
        settings.linePosition = 2;
        settings.leadingZero = 1;
        settings.colourScheme = 1;
        settings.fontFace = L"Lekton";
        settings.edge = edge;
        settings.textColour = coloured ? ColourIsSet | 0x000080FF : NoColour;
        settings.backgroundColour = coloured ? ColourIsSet | 0x00403020 : NoColour;
        PreviewImage rendered;
        ASSERT_TRUE(RenderPreviewIcon(settings, &rendered));
        EXPECT_EQ(written.width, edge);
        EXPECT_EQ(written.height, edge);
        EXPECT_EQ(written.pixels, rendered.pixels) << "straight alpha survives the round trip";
        EXPECT_EQ(written.pixels[3], coloured ? 255 : 0) << "the corner is the background's";
        // The line is really drawn: hiding it changes the icon.
        settings.linePosition = 0;
        PreviewImage withoutLine;
        ASSERT_TRUE(RenderPreviewIcon(settings, &withoutLine));
        EXPECT_NE(written.pixels, withoutLine.pixels);
    }
    // Only the finished file is there: the temporary one became it.
    EXPECT_EQ(FilesInFolder(), std::vector<std::wstring>{L"icon.png"});
}

TEST_F(PreviewToolTest, TheSheetIsAnOpaqueImageOfAllTwentyFourIcons) {
    const std::wstring path = folder + L"\\sheet.png";
    ToolRun run = RunPreview(L"--sheet \"" + path + L"\" --date 2026-01-01");
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    PreviewImage sheet;
    ASSERT_TRUE(ReadPngFile(path, &sheet));
    // Six columns of 272 pixels beside the labels; two rows per edge of edge × 8 + 16 pixels,
    // and the 16-pixel row in colours of its own.
    EXPECT_EQ(sheet.width, 250 + 6 * (272 + 4));
    EXPECT_EQ(sheet.height, 30 + 2 * (144 + 176 + 208 + 272 + 4 * 4) + 144 + 4);
    bool opaque = true;
    for (size_t i = 3; i < sheet.pixels.size(); i += 4) {
        opaque = opaque && sheet.pixels[i] == 255;
    }
    EXPECT_TRUE(opaque);
}
