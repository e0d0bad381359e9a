#pragma once

// The core's platform names before <windows.h>, which defines some of the same names as macros.
#include "host/Services.h"

#include <memory>
#include <string>
#include <type_traits>
#include <windows.h>

namespace orvanta::view_win32 {

/// Frees a GDI object (font, brush, pen, bitmap) when its owner lets go of it.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const
    {
        if (object)
            DeleteObject(object);
    }
};

template <typename Handle> using UniqueGdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniquePen = UniqueGdi<HPEN>;

struct WindowDeleter {
    void operator()(HWND window) const
    {
        if (window && IsWindow(window))
            DestroyWindow(window);
    }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct FileDeleter {
    void operator()(HANDLE file) const
    {
        if (file && file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
};
using UniqueFile = std::unique_ptr<void, FileDeleter>;

/// A text of the core as the wide text the Windows API takes.
inline const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

/// A window's text, whole.
std::u16string windowText(HWND window);

} // namespace orvanta::view_win32
