// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include "later_windows.h"
#include "resources.h"
#include "window/photograph.h"

// The imaging component's class identifiers, defined here rather than taken
// from a library.
#include <initguid.h>
#include <wincodec.h>

namespace window::win32 {

namespace {

// Loaded on first use and kept for the run of the program, like the
// resource it comes from.
HBITMAP photograph(HINSTANCE instance)
{
    static HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(
        instance, MAKEINTRESOURCEW(IDB_COMPASS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return bitmap;
}

// Releases a COM interface at the end of its scope.
template <typename Interface> class Released
{
public:
    Released() = default;
    ~Released()
    {
        if (m_pointer)
            m_pointer->Release();
    }
    Released(const Released &) = delete;
    Released &operator=(const Released &) = delete;
    Interface *operator->() const { return m_pointer; }
    Interface **operator&() { return &m_pointer; }
    Interface *get() const { return m_pointer; }

private:
    Interface *m_pointer = nullptr;
};

// The compressed picture resource `id` as a 32-bit bitmap, decoded by the
// platform's imaging component (on every Windows from 7 on); null when it
// cannot be.
HBITMAP decodePicture(HINSTANCE instance, int id)
{
    const ObjectLibrary com = objectLibrary();
    if (!com.initialize || !com.createInstance || !com.uninitialize)
        return nullptr;

    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)); // RT_RCDATA
    const void *bytes = found ? LockResource(LoadResource(instance, found)) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!bytes || size == 0)
        return nullptr;

    // The thread may have COM already, in either model; it is used either way.
    const HRESULT initialized = com.initialize(nullptr, COINIT_APARTMENTTHREADED);
    HBITMAP bitmap = nullptr;
    {
        Released<IWICImagingFactory> factory;
        Released<IWICStream> stream;
        Released<IWICBitmapDecoder> decoder;
        Released<IWICBitmapFrameDecode> frame;
        Released<IWICFormatConverter> converter;
        UINT width = 0;
        UINT height = 0;
        if (SUCCEEDED(com.createInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                __uuidof(IWICImagingFactory), reinterpret_cast<void **>(&factory)))
            && SUCCEEDED(factory->CreateStream(&stream))
            && SUCCEEDED(
                stream->InitializeFromMemory(static_cast<BYTE *>(const_cast<void *>(bytes)), size))
            && SUCCEEDED(factory->CreateDecoderFromStream(
                stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder))
            && SUCCEEDED(decoder->GetFrame(0, &frame))
            && SUCCEEDED(factory->CreateFormatConverter(&converter))
            && SUCCEEDED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom))
            && SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0
            && width < 0x8000 && height < 0x8000) {
            BITMAPINFO info {};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = static_cast<LONG>(width);
            info.bmiHeader.biHeight = -static_cast<LONG>(height); // top row first
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            void *pixels = nullptr;
            bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
            const UINT stride = width * 4;
            if (bitmap
                && FAILED(converter->CopyPixels(
                    nullptr, stride, stride * height, static_cast<BYTE *>(pixels)))) {
                DeleteObject(bitmap);
                bitmap = nullptr;
            }
        }
    }
    if (SUCCEEDED(initialized))
        com.uninitialize();
    return bitmap;
}

// The double-density rendering, decoded on first use and kept.
HBITMAP doubleDensityPhotograph(HINSTANCE instance)
{
    static HBITMAP bitmap = decodePicture(instance, IDB_COMPASS_2X);
    return bitmap;
}

} // namespace

Photograph photographFor(HINSTANCE instance, UINT dpi)
{
    if (usesDoubleDensity(static_cast<double>(dpi) / USER_DEFAULT_SCREEN_DPI)) {
        if (HBITMAP dense = doubleDensityPhotograph(instance))
            return { dense, 2 };
    }
    return { photograph(instance), 1 };
}

} // namespace window::win32
