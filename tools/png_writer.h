// PNG files with an alpha channel, through the Windows Imaging Component.
#pragma once

#include <string>

#include "preview_render.h"

// Writes `image` (straight-alpha BGRA) to `path`: first to a temporary file beside it, which
// then replaces `path`, so that a failure never leaves a half-written file under that name.
// On failure gives false and one line of explanation in `error`. COM must be initialised.
bool WritePngFile(const std::wstring& path, const PreviewImage& image, std::wstring* error);

// Reads a PNG back as straight-alpha BGRA; false when it cannot be decoded.
bool ReadPngFile(const std::wstring& path, PreviewImage* image);
