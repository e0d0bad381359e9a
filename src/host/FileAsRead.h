#pragma once

// A file as a read found it, which a later write is checked against so that another program's change
// is never overwritten.

#include "host/Expected.h"
#include "host/FileSystem.h"

#include <string>

namespace orvanta::host {

/// A file as one read found it: its bytes, no file at all, or a file that could not be read. A later
/// write is checked against it, so that a change another program made in between is never overwritten.
///
/// Every read that is kept or compared is turned into one through `of`, so "no file" has one form
/// only, and two reads that both found no file compare equal. There is no conversion from or to
/// FileContents: comparing the two does not build.
class FileAsRead {
public:
    /// Nothing read yet, which counts as a file that could not be read.
    FileAsRead() = default;

    /// What `read` found: a read that failed with Failure::Kind::NotFound found no file; any other
    /// failure, a file that could not be read.
    static FileAsRead of(const Expected<std::string>& read)
    {
        FileAsRead found;
        found.m_readable = read.ok() || read.failure().kind == Failure::Kind::NotFound;
        if (read)
            found.m_contents = read.value();
        return found;
    }

    /// False when the file was there but could not be read.
    bool readable() const { return m_readable; }
    /// The bytes, or nothing when there was no file (and when it could not be read).
    const FileContents& contents() const { return m_contents; }

    bool operator==(const FileAsRead&) const = default;

private:
    bool m_readable = false;
    FileContents m_contents;
};

} // namespace orvanta::host
