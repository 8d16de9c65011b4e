#include "platform/files/FileErrors.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace soten::platform {

std::string FileErrorReason(int error) {
    switch (error) {
        case NotARegularFile:
        case EISDIR:
            return "通常のファイルではありません";
        case UntrustedLink:
            return "共有フォルダにある他のユーザーのシンボリックリンクはたどれません";
        case UntrustedFile:
            return "共有フォルダにある他のユーザーのファイルは置き換えられません";
        case TemporaryFileTaken:
            return "書き込み中の一時ファイルが他のプロセスに置き換えられました";
        case NoHomeFolder:
            return "ホームフォルダが見つかりません";
        case NotAFolder:
            return "フォルダではありません（シンボリックリンクはたどりません）";
        case UntrustedFolder:
            return "他のユーザーのフォルダか、他のユーザーも書き込めるフォルダです";
        case AnotherUsersFile:
            return "他のユーザーのファイルです";
        case EFBIG:
            return "ファイルが大きすぎます";
        case ENOENT:
        case ENOTDIR:
            return "フォルダが見つかりません";
        case EACCES:
        case EPERM:
            return "アクセスが拒否されました";
        case ENOSPC:
            return "ディスクに空きがありません";
        case EDQUOT:
            return "ディスクの使用量が上限に達しました";
        case EROFS:
            return "読み取り専用のファイルシステムです";
        case ELOOP:
            return "シンボリックリンクが循環しているか、多すぎます";
        case ENAMETOOLONG:
            return "ファイル名が長すぎます";
        default:
            return std::strerror(error);
    }
}

std::string FileCreateErrorMessage(const std::string& path, const std::string& reason) {
    return "ファイル \"" + path + "\". " + reason + " を作成できません";
}

std::string SplitHardLinkNote(const std::string& path) {
    return "ファイル \"" + path +
           "\" には別の名前 (ハードリンク) もありました。新しい内容はこの名前だけに入り、"
           "別の名前は以前の内容のままです";
}

namespace {

std::function<void(const std::string&)>& NoteHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}

}  // namespace

void NoteAboutFile(const std::string& note) {
    if (NoteHandler()) {
        NoteHandler()(note);
    } else {
        std::cerr << note << std::endl;
    }
}

void SetFileNoteHandler(std::function<void(const std::string& note)> handler) {
    NoteHandler() = std::move(handler);
}

}  // namespace soten::platform
