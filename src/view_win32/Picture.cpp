// Decoding the background picture with the Windows Imaging Component, loaded only for that.
#include "Picture.h"

#include "platform/Utf8.h"

#include <objbase.h>
#include <wincodec.h>

namespace orvanta::view_win32 {

namespace {

/// Releases a COM interface when it goes out of scope.
template <typename Interface> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr()
    {
        if (m_pointer)
            m_pointer->Release();
    }
    Interface* operator->() const { return m_pointer; }
    Interface* get() const { return m_pointer; }
    Interface** out() { return &m_pointer; }

private:
    Interface* m_pointer = nullptr;
};

/// COM, loaded when the picture is decoded rather than when the program starts: the window is on the
/// screen sooner, and a program without its picture never loads it at all. The imaging component is
/// loaded by the program itself rather than through COM, which would keep it (and the libraries it
/// brings) in memory to the end: once the picture is decoded and every interface released, it goes.
class Com {
public:
    Com()
        : m_library(LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)),
          m_imaging(LoadLibraryExW(L"windowscodecs.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    {
        if (!m_library || !m_imaging)
            return;
        m_initialize = reinterpret_cast<decltype(&CoInitializeEx)>(
            reinterpret_cast<void*>(GetProcAddress(m_library, "CoInitializeEx")));
        m_uninitialize = reinterpret_cast<decltype(&CoUninitialize)>(
            reinterpret_cast<void*>(GetProcAddress(m_library, "CoUninitialize")));
        m_classObject = reinterpret_cast<ClassObject>(
            reinterpret_cast<void*>(GetProcAddress(m_imaging, "DllGetClassObject")));
        if (m_initialize && m_uninitialize && m_classObject)
            m_initialized = SUCCEEDED(m_initialize(nullptr, COINIT_APARTMENTTHREADED));
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com()
    {
        if (m_initialized)
            m_uninitialize();
        if (m_imaging)
            FreeLibrary(m_imaging);
        if (m_library)
            FreeLibrary(m_library);
    }

    /// The imaging factory; false when COM or the imaging component is missing.
    bool createFactory(IWICImagingFactory** factory) const
    {
        if (!m_initialized)
            return false;
        IClassFactory* classFactory = nullptr;
        if (FAILED(m_classObject(CLSID_WICImagingFactory, IID_IClassFactory,
                                 reinterpret_cast<void**>(&classFactory))))
            return false;
        const HRESULT created =
            classFactory->CreateInstance(nullptr, IID_IWICImagingFactory, reinterpret_cast<void**>(factory));
        classFactory->Release();
        return SUCCEEDED(created);
    }

private:
    using ClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

    HMODULE m_library;
    HMODULE m_imaging;
    decltype(&CoInitializeEx) m_initialize = nullptr;
    decltype(&CoUninitialize) m_uninitialize = nullptr;
    ClassObject m_classObject = nullptr;
    bool m_initialized = false;
};

} // namespace

Picture loadPicture(const std::string& hostPath)
{
    const Com com;
    const auto path = platform::fromUtf8(hostPath);
    // Declared after com: the interfaces are released before COM goes.
    ComPtr<IWICImagingFactory> factory;
    if (!com.createFactory(factory.out()))
        return {};
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(wide(path), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out())))
        return {};
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out())))
        return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return {};
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384 ||
        height > 16384)
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height); // top row first, as WIC gives the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return {};
    return {std::move(bitmap), static_cast<int>(width), static_cast<int>(height)};
}

} // namespace orvanta::view_win32
