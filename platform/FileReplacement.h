#pragma once

#include <cstddef>
#include <string>

namespace soten::platform {

// Replaces a file without ever leaving a part-written one in its place: the
// new content goes to a new file in the same folder, which is flushed to the
// disk and only then renamed over the old file. Until Commit succeeds the
// old file is untouched, and a replacement that is dropped removes its new
// file. Two replacements of the same file at once each write a file of their
// own; the last rename wins and the file is always one of them, whole.
//
// The path is the system's bytes, used as they are (a name need not be
// valid UTF-8). A symbolic link keeps pointing where it did: the file it
// points to is replaced. A path that exists and is not a regular file (a
// folder, a FIFO, a device) is refused. An existing file's permissions pass
// to the new one.
//
// Every step returns 0 or what stopped it: the system's error number, or
// NotARegularFile.
class FileReplacement {
public:
    static constexpr int NotARegularFile = -1;

    explicit FileReplacement(std::string path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Checks the path and creates the new, empty file beside it.
    int Begin();

    // The new file, open for reading and writing.
    int Descriptor() const { return file_; }
    // The folder (its path and, open, its descriptor) and the new file's
    // name in it (plain ASCII).
    const std::string& Folder() const { return folderPath_; }
    int FolderDescriptor() const { return folder_; }
    const std::string& TemporaryName() const { return temporaryName_; }

    // Writes all the bytes at the current position, retrying short writes.
    int Write(const char* data, std::size_t size);

    // Flushes the new file to the disk and renames it over the old one.
    int Commit();

private:
    void Discard();

    std::string path_;
    std::string folderPath_;
    int folder_ = -1;
    int file_ = -1;
    std::string temporaryName_;
    std::string targetName_;
    bool committed_ = false;
};

}  // namespace soten::platform
