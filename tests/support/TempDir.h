#pragma once

// A fresh temporary folder for one test.

#include <string>
#include <string_view>
#include <vector>

namespace orvanta::test {

/// A fresh folder under $TMPDIR (or /tmp), removed with everything in it at the end of its scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder's host path, without a trailing slash.
    const std::string& path() const { return m_path; }
    /// The same path as UTF-16, as the program names files.
    std::u16string u16path() const;
    /// The host path of `name` inside the folder ("sub/psw.ini" is fine).
    std::string file(std::string_view name) const;
    /// Writes `bytes` to `name` inside the folder, creating the folders on the way.
    void write(std::string_view name, std::string_view bytes) const;
    /// The bytes of `name` inside the folder; empty when it cannot be read.
    std::string read(std::string_view name) const;

private:
    std::string m_path;
};

/// The names of what a folder holds, sorted: to see that a write left nothing half-done behind.
std::vector<std::string> namesIn(const std::string& folder);

} // namespace orvanta::test
