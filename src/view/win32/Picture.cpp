// Decoding the background picture, with a decoder compiled into the program.
#include "Picture.h"

#include "host/Utf8.h"

#include <memory>
#include <vector>

// The decoder is compiled into the program: a picture is on the screen without loading COM, the imaging
// component and the libraries they bring, which took longer than the window itself to start.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace orvanta::view_win32 {

namespace {

/// Larger than any picture that fits a window; a bigger file is no picture for it.
constexpr DWORD kLargestFile = 16 * 1024 * 1024;

/// The bytes of the file, or nothing when it cannot be read whole.
std::vector<unsigned char> fileBytes(const std::string& hostPath)
{
    const auto path = host::fromUtf8(hostPath);
    HANDLE opened =
        CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return {};
    const UniqueFile file(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestFile)
        return {};
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return {};
    return bytes;
}

struct PixelsFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

} // namespace

Picture loadPicture(const std::string& hostPath)
{
    const auto bytes = fileBytes(hostPath);
    if (bytes.empty())
        return {};
    int width = 0;
    int height = 0;
    int channels = 0;
    // Three channels: a picture's transparency is dropped, as the window draws it on nothing.
    const std::unique_ptr<stbi_uc, PixelsFree> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 3));
    if (!pixels || width <= 0 || height <= 0)
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first, as the decoder gives the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    // Red, green, blue from the decoder; blue, green, red and an unused byte in the bitmap.
    const stbi_uc* from = pixels.get();
    auto* to = static_cast<unsigned char*>(bits);
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < count; ++i, from += 3, to += 4) {
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
        to[3] = 0;
    }
    return {std::move(bitmap), width, height};
}

} // namespace orvanta::view_win32
