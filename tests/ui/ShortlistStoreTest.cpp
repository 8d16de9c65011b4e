// The shortlist as two running windows share its file, and a file that
// could not be read when the program started.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <string>
#include <vector>

#include "analysis/text/ShiftJis.h"
#include "platform/files/ShortlistFile.h"
#include "tests/ui/ModalDriver.h"
#include "ui/shortlist/ShortlistStore.h"

namespace {

using soten::Cp932Text;
using soten::ShortlistEntry;
using soten::ui::ShortlistStore;

QString ListPath() {
    return QFile::decodeName(qgetenv("XDG_DATA_HOME")) + QStringLiteral("/soten/shortlist.json");
}

QByteArray FileBytes() {
    QFile file(ListPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ShortlistEntry Name(const std::string& given) {
    return {Cp932Text("山田"), given, {}, soten::StrokeStyle::Shinji, {}};
}

std::vector<std::string> Givens(const soten::Shortlist& list) {
    std::vector<std::string> givens;
    for (const ShortlistEntry& entry : list.Entries()) givens.push_back(entry.given);
    return givens;
}

// Answers every message box, keeping its text.
class Boxes {
public:
    explicit Boxes(int most) {
        for (int i = 0; i < most; ++i) {
            driver_.Then([this](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            });
        }
    }
    QStringList texts;

private:
    soten::test::ModalDriver driver_;
};

class ShortlistStoreTest : public ::testing::Test {
protected:
    ShortlistStoreTest() {
        QDir().mkpath(QFileInfo(ListPath()).path());
        QFile::remove(ListPath());
    }
    ~ShortlistStoreTest() override {
        ::chmod(QFile::encodeName(QFileInfo(ListPath()).path()).constData(), 0700);
        QFile::remove(ListPath());
    }
};

TEST_F(ShortlistStoreTest, TwoWindowsChangingTheListInTurnKeepEachOthersChanges) {
    Boxes boxes(4);
    ShortlistStore first(nullptr);
    ShortlistStore second(nullptr);
    EXPECT_TRUE(second.List().Empty());
    ASSERT_TRUE(first.Add(Name("a")));
    ASSERT_TRUE(second.Add(Name("b")));
    ASSERT_TRUE(first.Add(Name("c")));
    second.SetNote(1, "note of b");  // b as the second window shows it
    first.Remove(0);                 // a
    ASSERT_TRUE(second.Add(Name("d")));
    first.Move(1, 0);  // c above b; d, which the first window never saw, stays

    const soten::Shortlist kept = soten::platform::ShortlistFile().Load().list;
    EXPECT_EQ(Givens(kept), (std::vector<std::string>{"c", "b", "d"}));
    ASSERT_TRUE(kept.Find(Name("b")));
    EXPECT_EQ(kept.Entries()[*kept.Find(Name("b"))].note, "note of b");
    EXPECT_EQ(Givens(first.List()), Givens(kept));
    second.Refresh();
    EXPECT_EQ(Givens(second.List()), Givens(kept));
    EXPECT_EQ(boxes.texts, QStringList{});
}

TEST_F(ShortlistStoreTest, AListThatCouldNotBeReadIsWrittenOnlyOnceReadAndToldOfOnce) {
    std::vector<std::string> five;
    {
        soten::Shortlist list;
        for (const char* given : {"1", "2", "3", "4", "5"}) {
            list.Add(Name(given));
            five.push_back(given);
        }
        ASSERT_EQ(soten::platform::ShortlistFile().Save(list), 0);
    }
    const QByteArray saved = FileBytes();
    // Others may write the folder: nothing in it is used (root too).
    const QByteArray folder = QFile::encodeName(QFileInfo(ListPath()).path());
    ASSERT_EQ(::chmod(folder.constData(), 0770), 0);
    Boxes boxes(4);
    ShortlistStore store(nullptr);
    EXPECT_TRUE(store.List().Empty());
    ASSERT_TRUE(store.Add(Name("6")));
    ASSERT_TRUE(store.Add(Name("7")));
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("空のリストで始めます")))
        << boxes.texts[0].toStdString();
    EXPECT_TRUE(boxes.texts[1].startsWith(QStringLiteral("候補リストを保存できません。")));
    EXPECT_EQ(FileBytes(), saved);

    ASSERT_EQ(::chmod(folder.constData(), 0700), 0);
    ASSERT_TRUE(store.Add(Name("8")));
    std::vector<std::string> all = five;
    for (const char* given : {"6", "7", "8"}) all.push_back(given);
    EXPECT_EQ(Givens(soten::platform::ShortlistFile().Load().list), all);
    EXPECT_EQ(Givens(store.List()), all);
    EXPECT_EQ(boxes.texts.size(), 2);
}

}  // namespace
