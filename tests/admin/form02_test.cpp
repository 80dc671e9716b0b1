#include "admin/core/console.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/adminprompts.h"
#include "admin/ui/form01.h"
#include "admin/ui/form02.h"
#include "admin/ui/logview.h"
#include "adminsite.h"
#include "common/screenshot.h"
#include "common/testsite.h"
#include "shared/fakes.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace perumina;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kSweeper = QStringLiteral("c:\\group\\InboxSweep.exe");

// Two pupils who wrote to each other and sent each other pictures, and a third who did nothing yet.
void populate(bool withMail = true)
{
    admin_fixture::registerUser(kServer, "taro", "山田太郎", "ta123");
    admin_fixture::registerUser(kServer, "hana", "佐藤花子", "hanapw");
    admin_fixture::registerUser(kServer, "ken", "鈴木健", "kk");
    if (withMail) {
        admin_fixture::sendMail(kServer, "2026/04/08", "9:05:03", "taro", "佐藤花子", "遠足のこと",
                                "明日は晴れるかな？\r\nおやつは300円まで");
        admin_fixture::sendMail(kServer, "2026/04/08", "10:12:45", "hana", "山田太郎", "Re: 遠足のこと",
                                "晴れるといいね");
        admin_fixture::sendMail(kServer, "2026/04/09", "8:00:00", "taro", "佐藤花子", "表ソ\"引用\",です",
                                "またね");
    }
    admin_fixture::sendPicture(kServer, "佐藤花子", "赤い花", admin_fixture::samplePicture(Qt::red));
    admin_fixture::sendPicture(kServer, "佐藤花子", "海", admin_fixture::samplePicture(Qt::blue, 200, 100));
    admin_fixture::sendPicture(kServer, "山田太郎", "木", admin_fixture::samplePicture(Qt::darkGreen));
}

struct Console
{
    explicit Console(bool withMail = true)
    {
        site.makeSite(kServer);
        site.writeBytes(SharePath(kServer, tails::kAdministrators), "kanripw,,,,\r\n");
        populate(withMail);
        app.start();
        login();
        form = app.form02();
    }
    void login()
    {
        admin::Form01 *f = app.form01();
        f->Text1->setText(QStringLiteral("kanri"));
        f->Text2->setText(QStringLiteral("pw"));
        QTest::mouseClick(f->Command1, Qt::LeftButton);
    }
    static QStringList texts(QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->text());
        return out;
    }
    static void doubleClick(QListWidget *list, const QString &endsWith)
    {
        for (int i = 0; i < list->count(); ++i) {
            QListWidgetItem *item = list->item(i);
            if (item->text().endsWith(endsWith)) {
                const QPoint at = list->visualItemRect(item).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                return;
            }
        }
        ADD_FAILURE() << "no entry ending in " << endsWith.toStdString();
    }
    QString folderOf(const QString &fullName) const
    {
        return perumina::site::adminCopyFolder(kServer, fullName);
    }

    TempSite site;
    FakeSeams fakes;
    admin::AdminApp app{fakes.seams()};
    admin::Form02 *form = nullptr;
};

} // namespace

TEST(AdminConsole, showsTheMailLogExactlyAsStored)
{
    Console c;
    ASSERT_TRUE(c.form->isVisible());
    const QString stored = decodeCp932(c.site.bytes(SharePath(kServer, tails::kMessageLog)));
    ASSERT_TRUE(stored.endsWith(QStringLiteral("\"またね\"\r\n")));
    QString shown = stored;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(c.form->Text2->toPlainText(), shown);
    EXPECT_EQ(c.form->Text2->log().lineCount(), 4); // the first mail's body spans two lines
}

TEST(AdminConsole, mailDisplayScrollsOverTheWholeLog)
{
    admin::LogView view;
    view.resize(300, 120);
    QStringList lines;
    for (int i = 0; i < 500; ++i)
        lines.append(
            QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"佐藤花子\",\"件名%1\",\"本文\"").arg(i));
    lines[321] += QStringLiteral("とても長い本文が続きます。").repeated(10);
    view.setLines(lines);
    view.show();
    // The horizontal bar reaches the end of the longest line, the vertical one the last line.
    const int longest = view.fontMetrics().horizontalAdvance(lines[321]);
    EXPECT_GE(view.horizontalScrollBar()->maximum() + view.viewport()->width(), longest);
    EXPECT_LE(view.horizontalScrollBar()->maximum() + view.viewport()->width(), longest + 40);
    EXPECT_GT(view.verticalScrollBar()->maximum(), 480);
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(view.firstVisibleLine(), view.verticalScrollBar()->maximum());
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_LT(view.firstVisibleLine(), view.verticalScrollBar()->maximum());
    EXPECT_FALSE(view.grab().isNull());
    QTest::keySequence(&view, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), lines.join(u'\n') + u'\n');

    // A line of millions of characters is cut on the screen, so that painting stays quick; copying
    // still gives it whole.
    lines[400] = QString(3'000'000, u'あ');
    view.setLines(lines);
    view.verticalScrollBar()->setValue(398);
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    const int shownWidth = view.horizontalScrollBar()->maximum() + view.viewport()->width();
    EXPECT_LT(shownWidth, view.fontMetrics().horizontalAdvance(QString(2100, u'あ')));
    EXPECT_GT(shownWidth, view.fontMetrics().horizontalAdvance(QString(1900, u'あ')));
    EXPECT_FALSE(view.grab().isNull());
    view.copyAll();
    EXPECT_EQ(QApplication::clipboard()->text().size(), lines.join(u'\n').size() + 1);
}

TEST(AdminConsole, listsOneEntryPerUserInRegistrationOrder)
{
    Console c;
    EXPECT_EQ(Console::texts(c.form->List1),
              (QStringList{"taro,山田太郎,ta123", "hana,佐藤花子,hanapw", "ken,鈴木健,kk"}));
}

TEST(AdminConsole, opensWithAnEmptyMailDisplayWhenNoMailWasSent)
{
    Console c(false);
    EXPECT_TRUE(c.form->Text2->toPlainText().isEmpty());
    EXPECT_EQ(c.form->List1->count(), 3);
    EXPECT_EQ(c.form->Dir1->count(), 4);
}

TEST(AdminConsole, browsesTheCopyFoldersAndShowsPictures)
{
    Console c;
    const QString root = perumina::site::adminFolder(kServer);
    EXPECT_EQ(c.form->dirPath(), root);
    EXPECT_EQ(c.form->filePath(), root);
    // The administration folder itself, then one folder per user; the log is no picture.
    const QStringList dirs = Console::texts(c.form->Dir1);
    ASSERT_EQ(dirs.size(), 4);
    EXPECT_TRUE(dirs[0].endsWith(QStringLiteral("管理用")));
    QStringList users;
    for (const QString &d : dirs.mid(1))
        users.append(d.section(u' ', -1));
    users.sort();
    QStringList expected{"佐藤花子", "山田太郎", "鈴木健"};
    expected.sort();
    EXPECT_EQ(users, expected);
    EXPECT_EQ(c.form->File1->count(), 0);

    // A file that does not match the pattern stays out of the list.
    c.site.writeBytes(c.folderOf("佐藤花子") + QStringLiteral("/メモ.txt"), "x");
    Console::doubleClick(c.form->Dir1, QStringLiteral("佐藤花子"));
    EXPECT_EQ(c.form->dirPath(), c.folderOf("佐藤花子"));
    EXPECT_EQ(c.form->filePath(), c.folderOf("佐藤花子"));
    QStringList files = Console::texts(c.form->File1);
    files.sort();
    EXPECT_EQ(files, (QStringList{"海.jpg", "赤い花.jpg"}));
    // The open folder's chain stays above it, so the way back is in the list.
    EXPECT_EQ(c.form->Dir1->count(), 2);

    Console::doubleClick(c.form->File1, QStringLiteral("海.jpg"));
    EXPECT_EQ(c.form->shownPicture(), QStringLiteral("海.jpg"));
    const QPixmap shown = c.form->Image1->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(200, 100));
    EXPECT_EQ(shown.toImage().pixelColor(100, 50), QColor(Qt::blue));

    Console::doubleClick(c.form->File1, QStringLiteral("赤い花.jpg"));
    EXPECT_EQ(c.form->Image1->pixmap().toImage().pixelColor(60, 45), QColor(Qt::red));
    EXPECT_TRUE(c.fakes.dialogs.shown.isEmpty());

    Console::doubleClick(c.form->Dir1, QStringLiteral("管理用"));
    EXPECT_EQ(c.form->dirPath(), root);
    EXPECT_EQ(c.form->Dir1->count(), 4);
    Console::doubleClick(c.form->Dir1, QStringLiteral("山田太郎"));
    EXPECT_EQ(Console::texts(c.form->File1), QStringList{"木.jpg"});
}

TEST(AdminConsole, namesAPictureThatCannotBeLoaded)
{
    Console c;
    c.site.writeBytes(c.folderOf("山田太郎") + QStringLiteral("/壊れた.JPG"),
                      sjis(QStringLiteral("絵ではない")));
    Console::doubleClick(c.form->Dir1, QStringLiteral("山田太郎"));
    Console::doubleClick(c.form->File1, QStringLiteral("木.jpg"));
    Console::doubleClick(c.form->File1, QStringLiteral("壊れた.JPG"));
    EXPECT_EQ(c.fakes.dialogs.texts(),
              QStringList{QStringLiteral("イラスト「壊れた.JPG」を読み込めませんでした。")});
    EXPECT_EQ(c.form->shownPicture(), QStringLiteral("木.jpg")); // the last good picture stays
    EXPECT_FALSE(c.form->Image1->pixmap().isNull());
}

TEST(AdminConsole, anUnreachableFolderLeavesTheListsAsTheyWere)
{
    Console c;
    Console::doubleClick(c.form->Dir1, QStringLiteral("佐藤花子"));
    const QStringList files = Console::texts(c.form->File1);
    c.form->setDirPath(c.folderOf("いない人"));
    EXPECT_EQ(c.form->dirPath(), c.folderOf("佐藤花子"));
    EXPECT_EQ(Console::texts(c.form->File1), files);
}

TEST(AdminConsole, boardButtonsStartTheAdministratorBoardsEveryTime)
{
    Console c;
    c.fakes.launcher.started.clear();
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(c.form->Command13, Qt::LeftButton);
        QTest::mouseClick(c.form->Command14, Qt::LeftButton);
        QTest::mouseClick(c.form->Command4, Qt::LeftButton);
    }
    EXPECT_EQ(c.fakes.launcher.started, (QStringList{"DayBoardS.exe", "LunchBoardS.exe", "MonthBoardS.exe",
                                                     "DayBoardS.exe", "LunchBoardS.exe", "MonthBoardS.exe"}));
    EXPECT_TRUE(c.form->isVisible());
    EXPECT_TRUE(c.fakes.dialogs.shown.isEmpty());
    EXPECT_FALSE(c.fakes.end.ended());
}

TEST(AdminConsole, namesABoardThatCannotBeStarted)
{
    Console c;
    c.fakes.launcher.failing.insert(QStringLiteral("LunchBoardS.exe"));
    QTest::mouseClick(c.form->Command14, Qt::LeftButton);
    EXPECT_EQ(c.fakes.dialogs.texts(),
              QStringList{QStringLiteral("「LunchBoardS.exe」を起動できませんでした。")});
    EXPECT_TRUE(c.form->isVisible());
}

TEST(AdminConsole, backShowsTheLoginAndALaterLoginShowsTheSameConsole)
{
    Console c;
    QTest::mouseClick(c.form->Command3, Qt::LeftButton);
    EXPECT_FALSE(c.form->isVisible());
    EXPECT_TRUE(c.app.form01()->isVisible());
    const QString before = c.form->Text2->toPlainText();
    admin_fixture::sendMail(kServer, "2026/04/10", "9:00:00", "ken", "山田太郎", "後から", "読まれない");
    c.login();
    EXPECT_EQ(c.app.form02(), c.form);
    EXPECT_TRUE(c.form->isVisible());
    EXPECT_EQ(c.form->Text2->toPlainText(), before); // read once per run
}

TEST(AdminConsole, quitAndClosingStartTheSweeperAndEnd)
{
    {
        Console c;
        c.fakes.launcher.started.clear();
        QTest::mouseClick(c.form->Command9, Qt::LeftButton);
        EXPECT_EQ(c.fakes.launcher.started, QStringList{kSweeper});
        EXPECT_TRUE(c.fakes.end.ended());
    }
    Console c;
    c.fakes.launcher.started.clear();
    c.form->close();
    EXPECT_EQ(c.fakes.launcher.started, QStringList{kSweeper});
    EXPECT_EQ(c.fakes.end.count, 1);
}

TEST(AdminConsole, showsEveryCaption)
{
    Console c;
    struct Caption
    {
        const char *name;
        const char *text;
    };
    const Caption captions[] = {
        {"Label19", "ここでは以下の作業が行えます。"},
        {"Label11", "１.　グループウェア「　　　　　　　　　　　」の登録者情報と内容の管理"},
        {"Label14", "ぺる"},
        {"Label17", "・"},
        {"Label15", "み"},
        {"Label18", "・"},
        {"Label16", "な"},
        {"Label12", "２.　行事予定の編集と確認"},
        {"Command3", "戻る"},
        {"Command9", "終了"},
        {"Label2", "メールの内容"},
        {"Label5", "送信日"},
        {"Label6", "時刻"},
        {"Label7", "送信者"},
        {"Label41", "受信者"},
        {"Label42", "件名"},
        {"Label43", "本文"},
        {"Label3", "登録者情報"},
        {"Label9", "ユーザー名"},
        {"Label4", "本名"},
        {"Label10", "パスワード"},
        {"Label20", "イラスト内容"},
        {"Command13", "今日の予定を確認・変更する"},
        {"Command14", "給食予定を確認・変更する"},
        {"Command4", "月別行事を確認・変更する"},
    };
    for (const Caption &caption : captions) {
        QWidget *w = c.form->findChild<QWidget *>(QString::fromLatin1(caption.name));
        ASSERT_NE(w, nullptr) << caption.name;
        const QVariant text = w->property("text");
        EXPECT_EQ(text.toString(), QString::fromUtf8(caption.text)) << caption.name;
        // Every caption fits its control.
        EXPECT_LE(w->fontMetrics().horizontalAdvance(text.toString()), w->width()) << caption.name;
    }
    EXPECT_EQ(c.form->windowTitle(), QStringLiteral("ぺる・み・な（管理用）"));
    // The name pieces stand in order inside the brackets, on the same line.
    const QFontMetrics fm(c.form->Label11->font());
    const int open = c.form->Label11->x() + fm.horizontalAdvance(QStringLiteral("１.　グループウェア「"));
    const int close = open + fm.horizontalAdvance(QString(11, QChar(0x3000)));
    int x = open;
    for (QLabel *piece :
         {c.form->Label14, c.form->Label17, c.form->Label15, c.form->Label18, c.form->Label16}) {
        EXPECT_GE(piece->x(), x);
        EXPECT_EQ(piece->y(), c.form->Label11->y());
        x = piece->x() + piece->width();
    }
    EXPECT_LE(x, close);
}

// Stands in for the password window and the Yes/No box, answering as told.
struct AnsweringPrompts : admin::AdminPrompts
{
    std::optional<QString> password;
    bool yes = true;
    QStringList asked;
    std::optional<QString> newPassword(const QString &userName) override
    {
        asked.append(userName);
        return password;
    }
    bool confirm(const QString &text) override
    {
        asked.append(text);
        return yes;
    }
};

void choose(QListWidget *list, const QStringList &startsWith)
{
    list->clearSelection();
    for (int i = 0; i < list->count(); ++i)
        for (const QString &start : startsWith)
            if (list->item(i)->text().startsWith(start))
                list->item(i)->setSelected(true);
}

TEST(AdminConsole, searchNarrowsTheLogToRecordsWhoseSenderRecipientSubjectOrBodyHoldTheText)
{
    Console c;
    struct Case
    {
        const char *text;
        qsizetype records;
        int lines;
    };
    for (const Case &k :
         {Case{"", 3, 4}, Case{"遠足", 2, 3}, Case{"RE:", 1, 1}, Case{"HANA", 1, 1}, Case{"鈴木", 0, 0},
          Case{"おやつ", 1, 2}, Case{"2026", 0, 0}, Case{"9:05", 0, 0}, Case{"引用", 1, 1}}) {
        c.form->searchBox->setText(QString::fromUtf8(k.text));
        EXPECT_EQ(c.form->Text2->shownLineCount(), k.lines) << k.text;
        EXPECT_EQ(c.form->searchCountLabel->text(),
                  *k.text ? QStringLiteral("%1件（全3件）").arg(k.records) : QStringLiteral("全3件"))
            << k.text;
    }
    // The view holds the log read once; a search only chooses lines of it.
    const admin::MessageLog *log = &c.form->Text2->log();
    c.form->searchBox->setText(QStringLiteral("いいね"));
    EXPECT_EQ(&c.form->Text2->log(), log);
    EXPECT_TRUE(c.form->Text2->toPlainText().startsWith(QStringLiteral("\"2026/04/08\",\"10:12:45\"")));
}

TEST(AdminConsole, refreshReadsTheLogTheUsersAndTheFoldersAgainAndKeepsTheSearch)
{
    Console c;
    c.form->searchBox->setText(QStringLiteral("後から"));
    admin_fixture::sendMail(kServer, "2026/04/10", "9:00:00", "ken", "山田太郎", "後から", "届いた");
    admin_fixture::registerUser(kServer, "jiro", "田中次郎", "j");
    EXPECT_EQ(c.form->Text2->shownLineCount(), 0);
    QTest::mouseClick(c.form->refreshButton, Qt::LeftButton);
    EXPECT_EQ(c.form->Text2->shownLineCount(), 1);
    EXPECT_EQ(c.form->searchCountLabel->text(), QStringLiteral("1件（全4件）"));
    EXPECT_EQ(c.form->List1->count(), 4);
    EXPECT_TRUE(Console::texts(c.form->Dir1).contains(QStringLiteral("  ▷ 田中次郎")));
}

TEST(AdminConsole, resetsAPasswordAndRetiresPeopleAndRecordsWhoDidIt)
{
    Console c;
    auto owned = std::make_unique<AnsweringPrompts>();
    AnsweringPrompts &prompts = *owned;
    c.app.setPrompts(std::move(owned));
    const QString record = c.site.local(perumina::site::administrationRecord());

    // Nobody chosen, or two people for one password: told, nothing asked.
    QTest::mouseClick(c.form->resetPasswordButton, Qt::LeftButton);
    choose(c.form->List1, {"taro", "hana"});
    QTest::mouseClick(c.form->resetPasswordButton, Qt::LeftButton);
    EXPECT_EQ(c.fakes.dialogs.shown.size(), 2);
    EXPECT_TRUE(prompts.asked.isEmpty());

    choose(c.form->List1, {"hana"});
    prompts.password = QStringLiteral("new7pw");
    QTest::mouseClick(c.form->resetPasswordButton, Qt::LeftButton);
    EXPECT_EQ(prompts.asked, QStringList{"hana"});
    EXPECT_EQ(c.fakes.dialogs.last(), QStringLiteral("hana さんのパスワードを変更しました。"));
    EXPECT_TRUE(Console::texts(c.form->List1).contains(QStringLiteral("hana,佐藤花子,new7pw")));

    // Retiring asks first with the full names; No changes nothing.
    choose(c.form->List1, {"taro", "ken"});
    prompts.yes = false;
    QTest::mouseClick(c.form->retireButton, Qt::LeftButton);
    EXPECT_TRUE(prompts.asked.last().contains(QStringLiteral("山田太郎\n鈴木健")));
    EXPECT_EQ(c.form->List1->count(), 3);
    prompts.yes = true;
    QTest::mouseClick(c.form->retireButton, Qt::LeftButton);
    EXPECT_EQ(Console::texts(c.form->List1), QStringList{"hana,佐藤花子,new7pw"});
    EXPECT_EQ(Console::texts(c.form->Dir1).size(), 2); // the administration folder and 佐藤花子's

    EXPECT_EQ(decodeCp932(c.site.bytes(record)),
              QStringLiteral("\"2026/04/08\",\"9:05:03\",\"kanri\",\"パスワードを変更: hana（佐藤花子）\"\r\n"
                             "\"2026/04/08\",\"9:05:03\",\"kanri\",\"退会: 山田太郎、鈴木健\"\r\n"));
    // Without the staff's rights (the administrator file cannot be read) nothing is done or recorded.
    QFile::remove(c.site.local(SharePath(kServer, tails::kAdministrators)));
    choose(c.form->List1, {"hana"});
    QTest::mouseClick(c.form->retireButton, Qt::LeftButton);
    EXPECT_TRUE(c.fakes.dialogs.last().startsWith(QStringLiteral("この作業は職員のアカウント")));
    EXPECT_EQ(c.form->List1->count(), 1);
}

// Both screens of a populated site and the password window show every caption; build/screens/ when
// PERUMINA_SCREENS is set.
TEST(AdminScreenshot, bothScreensShowEveryCaption)
{
    Console c;
    QTest::mouseClick(c.form->Command3, Qt::LeftButton);
    admin::Form01 *login = c.app.form01();
    login->Text1->setText(QStringLiteral("kanri"));
    login->Text2->setText(QStringLiteral("pw"));
    EXPECT_TRUE(testing_support::screenshot(login, QStringLiteral("admin_form01")));
    c.login();
    Console::doubleClick(c.form->Dir1, QStringLiteral("佐藤花子"));
    Console::doubleClick(c.form->File1, QStringLiteral("赤い花.jpg"));
    EXPECT_TRUE(testing_support::screenshot(c.form, QStringLiteral("admin_form02")));
    c.form->searchBox->setText(QStringLiteral("遠足"));
    choose(c.form->List1, {"hana"});
    EXPECT_TRUE(testing_support::screenshot(c.form, QStringLiteral("admin_form02_search")));
    admin::PasswordDialog dialog(QStringLiteral("hana"));
    dialog.newPasswordBox->setText(QStringLiteral("abc"));
    dialog.repeatPasswordBox->setText(QStringLiteral("abd"));
    dialog.tryAccept();
    EXPECT_TRUE(testing_support::screenshot(&dialog, QStringLiteral("admin_password")));
}
