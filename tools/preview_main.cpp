// kivet-preview: draws the tray icon with the program's own renderer and writes it as PNG,
// one icon at its real size (--out) or a contact sheet of every edge, scheme and position
// (--sheet). Errors: one line on stderr and exit code 2.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "common/platform.h"
#include "contact_sheet.h"
#include "png_writer.h"
#include "preview_options.h"
#include "preview_render.h"
#include "week/iso_week.h"

namespace {

constexpr int UsageError = 2;

int Fail(const std::wstring& message) {
    fwprintf(stderr, L"kivet-preview: %ls\n", message.c_str());
    return UsageError;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    PreviewOptions options;
    std::wstring error;
    if (!ParsePreviewOptions(argc, argv, &options, &error)) {
        return Fail(error + L" (" + PreviewUsage + L")");
    }
    if (!options.dateGiven) {
        SYSTEMTIME today = {};
        platform.getLocalTime(&today);
        options.year = today.wYear;
        options.month = today.wMonth;
        options.day = today.wDay;
    }
    PreviewIconSettings settings;
    settings.week = ComputeIsoWeek(options.year, options.month, options.day);
    settings.line = options.line;
    settings.linePosition = options.linePosition;
    settings.leadingZero = options.leadingZero;
    settings.colourScheme = options.colourScheme;
    settings.fontFace = options.fontFace;
    settings.textColour = options.textColour;
    settings.backgroundColour = options.backgroundColour;
    settings.edge = options.edge;

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return Fail(L"cannot start COM for the image encoder");
    }
    PreviewImage image;
    std::wstring path = options.out;
    int status = 0;
    if (!options.sheet.empty()) {
        path = options.sheet;
        if (!BuildContactSheet(settings, &image, &error)) {
            status = Fail(error);
        }
    } else if (!RenderPreviewIcon(settings, &image)) {
        status = Fail(L"no icon could be made for these settings");
    }
    if (status == 0 && !WritePngFile(path, image, &error)) {
        status = Fail(error);
    }
    CoUninitialize();
    return status;
}
