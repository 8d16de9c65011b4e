// The reasons a file could not be written, said in Japanese inside Japanese
// sentences: never the system's English.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/files/FileErrors.h"

namespace soten::platform {
namespace {

struct Reason {
    int error;
    const char* expected;
};

TEST(FileErrorsTest, TheUsualCausesHaveJapaneseReasons) {
    for (const Reason& reason : {
             Reason{EEXIST, "同じ名前のファイルがすでにあります"},
             Reason{EACCES, "アクセスが拒否されました"},
             Reason{ENOSPC, "ディスクに空きがありません"},
             Reason{EROFS, "読み取り専用のファイルシステムです"},
             Reason{EIO, "入出力エラーが起きました"},
             Reason{EMFILE, "開いているファイルが多すぎます"},
             Reason{EXDEV, "別のファイルシステムへは移せません"},
             Reason{UntrustedLink, "他のユーザーのシンボリックリンクはたどれません"},
             Reason{4095, "エラー番号 4095"},
         }) {
        EXPECT_EQ(FileErrorReason(reason.error), reason.expected) << reason.error;
    }
}

// Every errno value the system knows, and the program's own codes, get a
// reason of our own: no Latin letter, nothing empty.
TEST(FileErrorsTest, NoReasonIsInTheSystemsEnglish) {
    for (int error = -8; error <= 133; ++error) {
        const std::string reason = FileErrorReason(error);
        EXPECT_FALSE(reason.empty()) << error;
        bool latin = false;
        for (const char c : reason)
            latin = latin || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        EXPECT_FALSE(latin) << error << ": " << reason;
    }
}

TEST(FileErrorsTest, TheCreateErrorIsOneSentenceAndThenItsReason) {
    EXPECT_EQ(FileCreateErrorMessage("/tmp/山田.pdf", FileErrorReason(EEXIST)),
              "ファイル \"/tmp/山田.pdf\" を作成できません。同じ名前のファイルがすでにあります");
}

}  // namespace
}  // namespace soten::platform
