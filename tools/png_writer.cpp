#include "png_writer.h"

#include <windows.h>
#include <wincodec.h>

namespace {

template <typename T> void Release(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

std::wstring TemporaryNameBeside(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
}

bool Encode(const std::wstring& path, const PreviewImage& image) {
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* properties = nullptr;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = static_cast<UINT>(image.width) * 4;
    bool written = false;
    HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(result) || FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &properties)) ||
        FAILED(frame->Initialize(properties)) ||
        FAILED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height))) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) {
        goto done;
    }
    if (FAILED(frame->WritePixels(static_cast<UINT>(image.height), stride,
                                  static_cast<UINT>(image.pixels.size()),
                                  const_cast<BYTE*>(image.pixels.data()))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
        goto done;
    }
    written = true;
done:
    Release(properties);
    Release(frame);
    Release(encoder);
    Release(stream); // closes the file
    Release(factory);
    return written;
}

} // namespace

bool WritePngFile(const std::wstring& path, const PreviewImage& image, std::wstring* error) {
    const std::wstring temporary = TemporaryNameBeside(path);
    if (!Encode(temporary, image)) {
        DeleteFileW(temporary.c_str());
        *error = L"cannot write \"" + path + L"\"";
        return false;
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        *error = L"cannot write \"" + path + L"\" (the finished image could not replace it)";
        return false;
    }
    return true;
}

bool ReadPngFile(const std::wstring& path, PreviewImage* image) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT width = 0;
    UINT height = 0;
    bool read = false;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        goto done;
    }
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    read = SUCCEEDED(converter->CopyPixels(
        nullptr, width * 4, static_cast<UINT>(image->pixels.size()), image->pixels.data()));
done:
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(factory);
    return read;
}
