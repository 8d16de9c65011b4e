#pragma once

#include <functional>
#include <string>

namespace soten::platform {

// What stops a file from being written beyond the system's error numbers.
inline constexpr int NotARegularFile = -1;
// A symbolic link that belongs neither to the user nor to root: following
// it would let another user choose the file that gets replaced.
inline constexpr int UntrustedLink = -2;
// A file that another user put in a folder others may write.
inline constexpr int UntrustedFile = -3;
// The new file's name was taken over by someone else while it was written.
inline constexpr int TemporaryFileTaken = -4;
// Neither XDG_DATA_HOME nor HOME is an absolute path, and the password
// database has no home for the user either.
inline constexpr int NoHomeFolder = -5;
// A folder the program keeps its data in is a link or not a folder at all.
inline constexpr int NotAFolder = -6;
// That folder is another user's, or others may write in it.
inline constexpr int UntrustedFolder = -7;
// A data file there belongs to another user.
inline constexpr int AnotherUsersFile = -8;

// Why a file could not be read or written, in Japanese (UTF-8): a text of
// our own for every errno value the file layer can meet (never the system's
// English), "エラー番号 N" for any other. `error` is an errno value or one of
// the codes above.
std::string FileErrorReason(int error);

// "ファイル "<path>" を作成できません。<reason>": the message of every
// command that writes a file (Save As, print to file, soten-cli --pdf).
std::string FileCreateErrorMessage(const std::string& path, const std::string& reason);

// Said when a replaced file had other hard links: they keep the old content.
std::string SplitHardLinkNote(const std::string& path);

// A note about a file that was written (not an error): on stderr unless the
// program shows notes its own way (the desktop program in a message box).
void NoteAboutFile(const std::string& note);
void SetFileNoteHandler(std::function<void(const std::string& note)> handler);

}  // namespace soten::platform
