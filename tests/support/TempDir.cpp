// A temporary folder that removes itself.
#include "support/TempDir.h"

#include "host/Utf8.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

namespace orvanta::test {

TempDir::TempDir()
{
#ifdef _WIN32
    // Windows has no mkdtemp: a random name in the user's temporary folder, created only if new.
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::filesystem::path candidate = base / ("orvanta-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = host::toUtf8(candidate.u16string()).value_or(std::string());
        }
    }
    if (m_path.empty()) {
        throw std::runtime_error("cannot create a temporary folder under " + base.string());
    }
#else
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/orvanta-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder under " + pattern);
    }
    m_path = buffer.data();
#endif
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::u16string TempDir::u16path() const
{
    return host::fromUtf8(m_path);
}

std::string TempDir::file(std::string_view name) const
{
#ifdef _WIN32
    std::string path = m_path + "\\" + std::string(name);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
#else
    return m_path + "/" + std::string(name);
#endif
}

void TempDir::write(std::string_view name, std::string_view bytes) const
{
    const std::filesystem::path path = file(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string TempDir::read(std::string_view name) const
{
    std::ifstream in(file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace orvanta::test
