#include "platform/files/FileErrors.h"

#include <cerrno>
#include <iostream>

namespace soten::platform {

std::string FileErrorReason(int error) {
    switch (error) {
        case NotARegularFile:
        case EISDIR:
            return "通常のファイルではありません";
        case UntrustedLink:
            return "他のユーザーのシンボリックリンクはたどれません";
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
        case EEXIST:
            return "同じ名前のファイルがすでにあります";
        case EIO:
            return "入出力エラーが起きました";
        case EBADF:
            return "ファイルが開かれていません";
        case EBUSY:
            return "ファイルかデバイスが使用中です";
        case ETXTBSY:
            return "実行中のプログラムのファイルです";
        case EMFILE:
            return "開いているファイルが多すぎます";
        case ENFILE:
            return "システム全体で開いているファイルが多すぎます";
        case ENOMEM:
            return "メモリが足りません";
        case EINVAL:
            return "この名前やファイルシステムでは行えない操作です";
        case EXDEV:
            return "別のファイルシステムへは移せません";
        case ENXIO:
        case ENODEV:
            return "デバイスが見つかりません";
        case EAGAIN:
            return "一時的に使えません";
        case EINTR:
            return "処理が中断されました";
        case ESTALE:
            return "ネットワーク上のファイルが見えなくなりました";
        case ENOTEMPTY:
            return "フォルダが空ではありません";
        case EMLINK:
            return "リンクが多すぎます";
        case EOVERFLOW:
            return "ファイルが大きすぎて扱えません";
        case EOPNOTSUPP:
            return "このファイルシステムでは行えない操作です";
        case ETIMEDOUT:
            return "時間切れになりました";
        case ENOLCK:
            return "ファイルをロックできません";
        case EPIPE:
            return "書き込み先が閉じられました";
        case ESPIPE:
            return "位置を移せないファイルです";
        case E2BIG:
            return "引数が長すぎます";
        case EUCLEAN:
            return "ファイルシステムが壊れています";
        case ENOMEDIUM:
            return "媒体が入っていません";
        default:
            return "エラー番号 " + std::to_string(error);
    }
}

std::string FileCreateErrorMessage(const std::string& path, const std::string& reason) {
    return "ファイル \"" + path + "\" を作成できません。" + reason;
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
