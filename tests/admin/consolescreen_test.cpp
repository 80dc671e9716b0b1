#include "admin/core/console.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/adminloginscreen.h"
#include "admin/ui/adminprompts.h"
#include "admin/ui/consolescreen.h"
#include "admin/ui/logview.h"
#include "adminsite.h"
#include "common/controls.h"
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
using testing_support::control;
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
        form = app.consoleScreen();
    }
    void typeLogin()
    {
        admin::AdminLoginScreen *screen = app.adminLoginScreen();
        control<QLineEdit>(screen, "idBox")->setText(QStringLiteral("kanri"));
        control<QLineEdit>(screen, "passwordBox")->setText(QStringLiteral("pw"));
    }
    void login()
    {
        typeLogin();
        QTest::mouseClick(control<QPushButton>(app.adminLoginScreen(), "okButton"), Qt::LeftButton);
    }
    void press(const char *button) const
    {
        QTest::mouseClick(control<QPushButton>(form, button), Qt::LeftButton);
    }
    admin::LogView *logView() const { return control<admin::LogView>(form, "mailLogView"); }
    QListWidget *users() const { return control<QListWidget>(form, "userList"); }
    QListWidget *folders() const { return control<QListWidget>(form, "folderList"); }
    QListWidget *pictures() const { return control<QListWidget>(form, "pictureList"); }
    QPixmap shownPixmap() const { return control<QLabel>(form, "pictureLabel")->pixmap(); }
    QLineEdit *searchBox() const { return control<QLineEdit>(form, "searchBox"); }
    QString searchCount() const { return control<QLabel>(form, "searchCountLabel")->text(); }
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
    admin::ConsoleScreen *form = nullptr;
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
    EXPECT_EQ(c.logView()->toPlainText(), shown);
    EXPECT_EQ(c.logView()->log().lineCount(), 4); // the first mail's body spans two lines
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
    EXPECT_EQ(Console::texts(c.users()),
              (QStringList{"taro,山田太郎,ta123", "hana,佐藤花子,hanapw", "ken,鈴木健,kk"}));
}

TEST(AdminConsole, opensWithAnEmptyMailDisplayWhenNoMailWasSent)
{
    Console c(false);
    EXPECT_TRUE(c.logView()->toPlainText().isEmpty());
    EXPECT_EQ(c.users()->count(), 3);
    EXPECT_EQ(c.folders()->count(), 4);
}

TEST(AdminConsole, browsesTheCopyFoldersAndShowsPictures)
{
    Console c;
    const QString root = perumina::site::adminFolder(kServer);
    EXPECT_EQ(c.form->dirPath(), root);
    EXPECT_EQ(c.form->filePath(), root);
    // The administration folder itself, then one folder per user; the log is no picture.
    const QStringList dirs = Console::texts(c.folders());
    ASSERT_EQ(dirs.size(), 4);
    EXPECT_TRUE(dirs[0].endsWith(QStringLiteral("管理用")));
    QStringList users;
    for (const QString &d : dirs.mid(1))
        users.append(d.section(u' ', -1));
    users.sort();
    QStringList expected{"佐藤花子", "山田太郎", "鈴木健"};
    expected.sort();
    EXPECT_EQ(users, expected);
    EXPECT_EQ(c.pictures()->count(), 0);

    // A file that does not match the pattern stays out of the list.
    c.site.writeBytes(c.folderOf("佐藤花子") + QStringLiteral("/メモ.txt"), "x");
    Console::doubleClick(c.folders(), QStringLiteral("佐藤花子"));
    EXPECT_EQ(c.form->dirPath(), c.folderOf("佐藤花子"));
    EXPECT_EQ(c.form->filePath(), c.folderOf("佐藤花子"));
    QStringList files = Console::texts(c.pictures());
    files.sort();
    EXPECT_EQ(files, (QStringList{"海.jpg", "赤い花.jpg"}));
    // The open folder's chain stays above it, so the way back is in the list.
    EXPECT_EQ(c.folders()->count(), 2);

    Console::doubleClick(c.pictures(), QStringLiteral("海.jpg"));
    EXPECT_EQ(c.form->shownPicture(), QStringLiteral("海.jpg"));
    const QPixmap shown = c.shownPixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(200, 100));
    EXPECT_EQ(shown.toImage().pixelColor(100, 50), QColor(Qt::blue));

    Console::doubleClick(c.pictures(), QStringLiteral("赤い花.jpg"));
    EXPECT_EQ(c.shownPixmap().toImage().pixelColor(60, 45), QColor(Qt::red));
    EXPECT_TRUE(c.fakes.dialogs.shown.isEmpty());

    Console::doubleClick(c.folders(), QStringLiteral("管理用"));
    EXPECT_EQ(c.form->dirPath(), root);
    EXPECT_EQ(c.folders()->count(), 4);
    Console::doubleClick(c.folders(), QStringLiteral("山田太郎"));
    EXPECT_EQ(Console::texts(c.pictures()), QStringList{"木.jpg"});
}

TEST(AdminConsole, namesAPictureThatCannotBeLoaded)
{
    Console c;
    c.site.writeBytes(c.folderOf("山田太郎") + QStringLiteral("/壊れた.JPG"),
                      sjis(QStringLiteral("絵ではない")));
    Console::doubleClick(c.folders(), QStringLiteral("山田太郎"));
    Console::doubleClick(c.pictures(), QStringLiteral("木.jpg"));
    Console::doubleClick(c.pictures(), QStringLiteral("壊れた.JPG"));
    EXPECT_EQ(c.fakes.dialogs.texts(),
              QStringList{QStringLiteral("イラスト「壊れた.JPG」を読み込めませんでした。")});
    EXPECT_EQ(c.form->shownPicture(), QStringLiteral("木.jpg")); // the last good picture stays
    EXPECT_FALSE(c.shownPixmap().isNull());
}

TEST(AdminConsole, anUnreachableFolderLeavesTheListsAsTheyWere)
{
    Console c;
    const QStringList folders = Console::texts(c.folders());
    const QStringList files = Console::texts(c.pictures());
    // A folder goes away while it is in the list, and is then opened.
    ASSERT_TRUE(QDir(c.site.local(c.folderOf("山田太郎"))).removeRecursively());
    Console::doubleClick(c.folders(), QStringLiteral("山田太郎"));
    EXPECT_EQ(c.form->dirPath(), perumina::site::adminFolder(kServer));
    EXPECT_EQ(Console::texts(c.folders()), folders);
    EXPECT_EQ(Console::texts(c.pictures()), files);
}

TEST(AdminConsole, boardButtonsStartTheAdministratorBoardsEveryTime)
{
    Console c;
    c.fakes.launcher.started.clear();
    for (int i = 0; i < 2; ++i) {
        c.press("dayBoardButton");
        c.press("lunchBoardButton");
        c.press("monthBoardButton");
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
    c.press("lunchBoardButton");
    EXPECT_EQ(c.fakes.dialogs.texts(),
              QStringList{QStringLiteral("「LunchBoardS.exe」を起動できませんでした。")});
    EXPECT_TRUE(c.form->isVisible());
}

TEST(AdminConsole, backShowsTheLoginAndALaterLoginShowsTheSameConsole)
{
    Console c;
    c.press("backButton");
    EXPECT_FALSE(c.form->isVisible());
    EXPECT_TRUE(c.app.adminLoginScreen()->isVisible());
    const QString before = c.logView()->toPlainText();
    admin_fixture::sendMail(kServer, "2026/04/10", "9:00:00", "ken", "山田太郎", "後から", "読まれない");
    c.login();
    EXPECT_EQ(c.app.consoleScreen(), c.form);
    EXPECT_TRUE(c.form->isVisible());
    EXPECT_EQ(c.logView()->toPlainText(), before); // read once per run
}

TEST(AdminConsole, quitAndClosingStartTheSweeperAndEnd)
{
    {
        Console c;
        c.fakes.launcher.started.clear();
        c.press("quitButton");
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
        {"introCaption", "ここでは以下の作業が行えます。"},
        {"registryTaskCaption", "１.　グループウェア「　　　　　　　　　　　」の登録者情報と内容の管理"},
        {"namePiece1", "ぺる"},
        {"namePiece2", "・"},
        {"namePiece3", "み"},
        {"namePiece4", "・"},
        {"namePiece5", "な"},
        {"boardsTaskCaption", "２.　行事予定の編集と確認"},
        {"backButton", "戻る"},
        {"quitButton", "終了"},
        {"mailCaption", "メールの内容"},
        {"dateCaption", "送信日"},
        {"timeCaption", "時刻"},
        {"senderCaption", "送信者"},
        {"recipientCaption", "受信者"},
        {"subjectCaption", "件名"},
        {"bodyCaption", "本文"},
        {"usersCaption", "登録者情報"},
        {"userNameCaption", "ユーザー名"},
        {"fullNameCaption", "本名"},
        {"passwordCaption", "パスワード"},
        {"picturesCaption", "イラスト内容"},
        {"dayBoardButton", "今日の予定を確認・変更する"},
        {"lunchBoardButton", "給食予定を確認・変更する"},
        {"monthBoardButton", "月別行事を確認・変更する"},
    };
    for (const Caption &caption : captions) {
        QWidget *w = control<QWidget>(c.form, QString::fromLatin1(caption.name));
        const QVariant text = w->property("text");
        EXPECT_EQ(text.toString(), QString::fromUtf8(caption.text)) << caption.name;
        // Every caption fits its control.
        EXPECT_LE(w->fontMetrics().horizontalAdvance(text.toString()), w->width()) << caption.name;
    }
    EXPECT_EQ(c.form->windowTitle(), QStringLiteral("ぺる・み・な（管理用）"));
    // The name pieces stand in order inside the brackets, on the same line.
    const QLabel *task = control<QLabel>(c.form, "registryTaskCaption");
    const QFontMetrics fm(task->font());
    const int open = task->x() + fm.horizontalAdvance(QStringLiteral("１.　グループウェア「"));
    const int close = open + fm.horizontalAdvance(QString(11, QChar(0x3000)));
    int x = open;
    for (int i = 1; i <= 5; ++i) {
        const QLabel *piece = control<QLabel>(c.form, QStringLiteral("namePiece%1").arg(i));
        EXPECT_GE(piece->x(), x);
        EXPECT_EQ(piece->y(), task->y());
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
        c.searchBox()->setText(QString::fromUtf8(k.text));
        EXPECT_EQ(c.logView()->shownLineCount(), k.lines) << k.text;
        EXPECT_EQ(c.searchCount(),
                  *k.text ? QStringLiteral("%1件（全3件）").arg(k.records) : QStringLiteral("全3件"))
            << k.text;
    }
    // The view holds the log read once; a search only chooses lines of it.
    const admin::MessageLog *log = &c.logView()->log();
    c.searchBox()->setText(QStringLiteral("いいね"));
    EXPECT_EQ(&c.logView()->log(), log);
    EXPECT_TRUE(c.logView()->toPlainText().startsWith(QStringLiteral("\"2026/04/08\",\"10:12:45\"")));
}

TEST(AdminConsole, refreshReadsTheLogTheUsersAndTheFoldersAgainAndKeepsTheSearch)
{
    Console c;
    c.searchBox()->setText(QStringLiteral("後から"));
    admin_fixture::sendMail(kServer, "2026/04/10", "9:00:00", "ken", "山田太郎", "後から", "届いた");
    admin_fixture::registerUser(kServer, "jiro", "田中次郎", "j");
    EXPECT_EQ(c.logView()->shownLineCount(), 0);
    c.press("refreshButton");
    EXPECT_EQ(c.logView()->shownLineCount(), 1);
    EXPECT_EQ(c.searchCount(), QStringLiteral("1件（全4件）"));
    EXPECT_EQ(c.users()->count(), 4);
    EXPECT_TRUE(Console::texts(c.folders()).contains(QStringLiteral("  ▷ 田中次郎")));
}

TEST(AdminConsole, resetsAPasswordAndRetiresPeopleAndRecordsWhoDidIt)
{
    Console c;
    auto owned = std::make_unique<AnsweringPrompts>();
    AnsweringPrompts &prompts = *owned;
    c.app.setPrompts(std::move(owned));
    const QString record = c.site.local(perumina::site::administrationRecord());

    // Nobody chosen, or two people for one password: told, nothing asked.
    c.press("resetPasswordButton");
    choose(c.users(), {"taro", "hana"});
    c.press("resetPasswordButton");
    EXPECT_EQ(c.fakes.dialogs.shown.size(), 2);
    EXPECT_TRUE(prompts.asked.isEmpty());

    choose(c.users(), {"hana"});
    prompts.password = QStringLiteral("new7pw");
    c.press("resetPasswordButton");
    EXPECT_EQ(prompts.asked, QStringList{"hana"});
    EXPECT_EQ(c.fakes.dialogs.last(), QStringLiteral("hana さんのパスワードを変更しました。"));
    EXPECT_TRUE(Console::texts(c.users()).contains(QStringLiteral("hana,佐藤花子,new7pw")));

    // Retiring asks first with the full names; No changes nothing.
    choose(c.users(), {"taro", "ken"});
    prompts.yes = false;
    c.press("retireButton");
    EXPECT_TRUE(prompts.asked.last().contains(QStringLiteral("山田太郎\n鈴木健")));
    EXPECT_EQ(c.users()->count(), 3);
    prompts.yes = true;
    c.press("retireButton");
    EXPECT_EQ(Console::texts(c.users()), QStringList{"hana,佐藤花子,new7pw"});
    EXPECT_EQ(Console::texts(c.folders()).size(), 2); // the administration folder and 佐藤花子's

    EXPECT_EQ(decodeCp932(c.site.bytes(record)),
              QStringLiteral("\"2026/04/08\",\"9:05:03\",\"kanri\",\"パスワードを変更: hana（佐藤花子）\"\r\n"
                             "\"2026/04/08\",\"9:05:03\",\"kanri\",\"退会: 山田太郎、鈴木健\"\r\n"));
    // Without the staff's rights (the administrator file cannot be read) nothing is done or recorded.
    QFile::remove(c.site.local(SharePath(kServer, tails::kAdministrators)));
    choose(c.users(), {"hana"});
    c.press("retireButton");
    EXPECT_TRUE(c.fakes.dialogs.last().startsWith(QStringLiteral("この作業は職員のアカウント")));
    EXPECT_EQ(c.users()->count(), 1);
}

// Both screens of a populated site and the password window show every caption; build/screens/ when
// PERUMINA_SCREENS is set.
TEST(AdminScreenshot, bothScreensShowEveryCaption)
{
    Console c;
    c.press("backButton");
    c.typeLogin();
    EXPECT_TRUE(testing_support::screenshot(c.app.adminLoginScreen(), QStringLiteral("admin_login")));
    c.login();
    Console::doubleClick(c.folders(), QStringLiteral("佐藤花子"));
    Console::doubleClick(c.pictures(), QStringLiteral("赤い花.jpg"));
    EXPECT_TRUE(testing_support::screenshot(c.form, QStringLiteral("admin_console")));
    c.searchBox()->setText(QStringLiteral("遠足"));
    choose(c.users(), {"hana"});
    EXPECT_TRUE(testing_support::screenshot(c.form, QStringLiteral("admin_console_search")));
    admin::PasswordDialog dialog(QStringLiteral("hana"));
    control<QLineEdit>(&dialog, "newPasswordBox")->setText(QStringLiteral("abc"));
    control<QLineEdit>(&dialog, "repeatPasswordBox")->setText(QStringLiteral("abd"));
    control<QPushButton>(&dialog, "okButton")->click();
    EXPECT_TRUE(testing_support::screenshot(&dialog, QStringLiteral("admin_password")));
}
