#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/FileErrors.h"
#include "platform/files/PathResolution.h"

namespace soten::platform {

class RemovedOnInterrupt;

// Replaces a file without ever leaving a part-written one in its place: the
// new content goes to a new file in the same folder (created exclusively,
// never through a link), which is flushed to the disk and only then renamed
// over the old file. Until Commit succeeds the old file is untouched, and a
// replacement that is dropped, fails or is interrupted by Ctrl+C, SIGTERM or
// SIGHUP removes its new file; the new files of writers killed outright are
// removed from the folder by the next replacement there, once a minute old.
// Two replacements of the same file at once each write a file of their own;
// the last rename wins.
//
// The path is the system's bytes, used as they are. It is resolved as
// ResolveReplacementTarget says: a symbolic link of the user's own or root's
// keeps pointing where it did and the file it points to is replaced; any
// other user's link is refused, and so are link loops, folders, FIFOs,
// devices, another user's file in a folder others may write and an existing
// file the user may not write. The new file takes the
// old one's owner and group (where the user may give them), permissions, ACL
// and user.* extended attributes; setuid and setgid survive only with the
// owner and group they belong to, and no right is ever widened.
//
// Every step returns 0 or what stopped it: an errno value or a code of
// FileErrors.h.
class FileReplacement {
public:
    static constexpr int NotARegularFile = platform::NotARegularFile;

    explicit FileReplacement(std::string path);
    // The file `name` in `folder`, a folder the caller has opened and keeps
    // open until Begin, following no link there (ResolveReplacementEntry);
    // `path` names the file in notes.
    FileReplacement(int folder, std::string name, std::string path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // The permissions a file that did not exist yet is created with, less
    // the umask; 0666 unless set (0600 for a file only the user may read).
    // A replaced file keeps the old one's.
    void SetNewFileMode(mode_t mode) { newFileMode_ = mode; }

    // Checks the path and creates the new, empty file beside the old one.
    int Begin();

    // The new file, open for reading and writing, and a name that opens it
    // whatever becomes of its folder ("/proc/self/fd/N").
    int Descriptor() const { return file_; }
    std::string DescriptorPath() const;

    // Whether the old file has other names (hard links), which will keep
    // its old content: the replacement gives the path a file of its own.
    bool SplitsHardLinks() const;

    // Writes all the bytes at the current position, retrying short writes.
    int Write(const char* data, std::size_t size);

    // Gives the new file the old one's owner and rights, flushes it to the
    // disk and renames it over the old one. Notes (NoteAboutFile) when other
    // hard links of the old file keep its old content.
    int Commit();

private:
    void ReadAttributes();
    void CopyAttributes();
    void Discard();

    std::string path_;
    // The caller's folder and the name in it, when given so; else -1.
    int givenFolder_ = -1;
    std::string givenName_;
    mode_t newFileMode_ = 0666;
    ReplacementTarget target_;
    int file_ = -1;
    std::string temporaryName_;
    std::unique_ptr<RemovedOnInterrupt> cleanup_;
    // The old file's extended attributes worth keeping, name and value.
    std::vector<std::pair<std::string, std::string>> attributes_;
    bool committed_ = false;
};

}  // namespace soten::platform
