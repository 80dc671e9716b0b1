// The mail screen and the reader, driven as a user drives them.
#include "client/core/mail.h"
#include "client/core/newmail.h"
#include "client/core/reply.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "common/controls.h"
#include "common/screenshot.h"
#include "common/testsite.h"
#include "mailsite.h"
#include "shared/fakes.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace client;
using namespace perumina;
using testing_support::control;
using testing_support::registerUser;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kTaro = QStringLiteral("山田太郎");
const QString kHanako = QStringLiteral("佐藤花子");
const QString kSent = QStringLiteral("メールは正しく送信されました。");
const QString kLoadMessage =
    QStringLiteral("前回の終了で一時ファイルの『受信箱.txt』が削除されていないと思われます｡確認してください｡ "
                   "もし，残っていた場合は『受信箱.txt』だけを削除し，ぺるみなを再起動してください。");
const QString kNoOlder = QStringLiteral("現在届いているメールは以上です。");
const QString kNoNewer = QStringLiteral("最新のメールを表示しています。");

// One run of the client on a site where taro and hana are registered.
struct ClientRun
{
    FakeSeams fakes;
    std::unique_ptr<ClientApp> app;
    explicit ClientRun(const QString &user = QStringLiteral("taro"), const QString &fullName = kTaro)
        : app(std::make_unique<ClientApp>(fakes.seams()))
    {
        app->setServerName(kServer);
        login(user, fullName);
    }
    // What a successful login leaves: the person signed in, the reader created.
    void login(const QString &user, const QString &fullName)
    {
        app->signIn({user, fullName});
        app->readerScreen();
    }
};

// The mail screen's controls, found by their names.
struct MailControls
{
    explicit MailControls(const MailScreen *screen)
        : recipientList(control<QListWidget>(screen, "recipientList")),
          recipientBox(control<QLineEdit>(screen, "recipientBox")),
          senderBox(control<QLineEdit>(screen, "senderBox")),
          titleBox(control<QLineEdit>(screen, "titleBox")),
          bodyBox(control<QPlainTextEdit>(screen, "bodyBox")),
          lineBreakCaption(control<QLabel>(screen, "lineBreakCaption")),
          sentDateLabel(control<QLabel>(screen, "sentDateLabel")),
          sentTimeLabel(control<QLabel>(screen, "sentTimeLabel")),
          sendButton(control<QPushButton>(screen, "sendButton")),
          clearButton(control<QPushButton>(screen, "clearButton")),
          quitButton(control<QPushButton>(screen, "quitButton"))
    {
    }
    QListWidget *recipientList;
    QLineEdit *recipientBox, *senderBox, *titleBox;
    QPlainTextEdit *bodyBox;
    QLabel *lineBreakCaption, *sentDateLabel, *sentTimeLabel;
    QPushButton *sendButton, *clearButton, *quitButton;
};

// The reader's controls, found by their names.
struct ReaderControls
{
    explicit ReaderControls(const ReaderScreen *screen)
        : nameLabel(control<QLabel>(screen, "nameLabel")), dateBox(control<QLineEdit>(screen, "dateBox")),
          timeBox(control<QLineEdit>(screen, "timeBox")), senderBox(control<QLineEdit>(screen, "senderBox")),
          titleBox(control<QLineEdit>(screen, "titleBox")),
          bodyBox(control<QPlainTextEdit>(screen, "bodyBox")),
          newerButton(control<QPushButton>(screen, "newerButton")),
          olderButton(control<QPushButton>(screen, "olderButton")),
          quitButton(control<QPushButton>(screen, "quitButton")),
          replyButton(control<QPushButton>(screen, "replyButton")),
          newMarkLabel(control<QLabel>(screen, "newMarkLabel"))
    {
    }
    QLabel *nameLabel;
    QLineEdit *dateBox, *timeBox, *senderBox, *titleBox;
    QPlainTextEdit *bodyBox;
    QPushButton *newerButton, *olderButton, *quitButton, *replyButton;
    QLabel *newMarkLabel;
};

struct MailScreens : testing::Test
{
    TempSite site;
    void SetUp() override
    {
        site.makeSite(kServer);
        registerUser(site, QStringLiteral("taro"), kTaro, QStringLiteral("pw1"));
        registerUser(site, QStringLiteral("hana"), kHanako, QStringLiteral("pw2"));
    }
    QByteArray inbox(const QString &fullName = kHanako) const
    {
        return site.bytes(perumina::site::inbox(kServer, fullName));
    }
    QByteArray log() const { return site.bytes(perumina::site::messageLog(kServer)); }

    static void compose(const MailScreen *form, const QString &recipient, const QString &title,
                        const QString &body)
    {
        const MailControls m(form);
        const auto items = m.recipientList->findItems(recipient, Qt::MatchExactly);
        if (items.isEmpty()) {
            m.recipientBox->setText(recipient);
        } else {
            m.recipientList->setCurrentItem(items.first());
            QTest::mouseClick(m.recipientList->viewport(), Qt::LeftButton, {},
                              m.recipientList->visualItemRect(items.first()).center());
        }
        m.titleBox->setText(title);
        m.bodyBox->setPlainText(body);
    }
    // Delivers three mails to hana, the second with a three-line body and a title with comma and quotes.
    void deliverThree()
    {
        ClientRun taro;
        MailScreen *form = taro.app->mailScreen();
        const MailControls m(form);
        const char *times[] = {"9:00:00", "10:30:15", "11:45:59"};
        const QString titles[] = {QStringLiteral("一通目"), QStringLiteral("題名, \"引用\"付き"),
                                  QStringLiteral("三通目")};
        const QString bodies[] = {QStringLiteral("古い本文"), QStringLiteral("一行目\n二行目\n三行目"),
                                  QStringLiteral("新しい本文")};
        for (int i = 0; i < 3; ++i) {
            taro.fakes.clock.set(QDateTime(QDate(2026, 4, 8), QTime::fromString(times[i], "H:mm:ss")));
            compose(form, kHanako, titles[i], bodies[i]);
            m.sendButton->click();
            ASSERT_EQ(taro.fakes.dialogs.last(), kSent);
        }
    }
    static QStringList shown(const ReaderScreen *reader)
    {
        const ReaderControls r(reader);
        return {r.dateBox->text(), r.timeBox->text(), r.senderBox->text(), r.titleBox->text(),
                r.bodyBox->toPlainText()};
    }
};

} // namespace

TEST_F(MailScreens, composeScreenLoadsTheRecipientsAndTheSender)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    ASSERT_EQ(m.recipientList->count(), 2);
    EXPECT_EQ(m.recipientList->item(0)->text(), kTaro);
    EXPECT_EQ(m.recipientList->item(1)->text(), kHanako);
    EXPECT_EQ(m.senderBox->text(), QStringLiteral("taro"));
    EXPECT_EQ(m.sendButton->text(), QStringLiteral("送信"));
    EXPECT_EQ(
        m.lineBreakCaption->text(),
        QStringLiteral("途中で改行するときは  Shift  または  Ctrl  を押しながら  Enter  を押して下さい。"));
    EXPECT_TRUE(m.sendButton->isDefault());
    compose(form, kHanako, QString(), QString());
    EXPECT_EQ(m.recipientBox->text(), kHanako);
}

TEST_F(MailScreens, enterSendsWhileShiftOrCtrlEnterBreaksTheLine)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    form->show();
    run.fakes.dialogs.shown.clear(); // taro's empty inbox at login
    compose(form, kHanako, QStringLiteral("件名"), QString());
    m.bodyBox->setFocus();
    QTest::keyClicks(m.bodyBox, QStringLiteral("a"));
    QTest::keyClick(m.bodyBox, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(m.bodyBox, QStringLiteral("b"));
    QTest::keyClick(m.bodyBox, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(m.bodyBox, QStringLiteral("c"));
    EXPECT_TRUE(run.fakes.dialogs.shown.isEmpty());
    QTest::keyClick(m.bodyBox, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.texts(), QStringList{kSent});
    EXPECT_EQ(inbox(),
              sjis(QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"件名\",\"a\r\nb\r\nc\"\r\n\r\n")));
    // Title and body are cleared; recipient, sender and the stamp stay.
    EXPECT_TRUE(m.bodyBox->toPlainText().isEmpty());
    EXPECT_TRUE(m.titleBox->text().isEmpty());
    EXPECT_EQ(m.recipientBox->text(), kHanako);
    EXPECT_EQ(m.sentDateLabel->text(), QStringLiteral("2026/04/08"));
    EXPECT_EQ(m.sentTimeLabel->text(), QStringLiteral("9:05:03"));

    // Enter in the title box sends too.
    m.titleBox->setText(QStringLiteral("二通目"));
    m.bodyBox->setPlainText(QStringLiteral("x"));
    QTest::keyClick(m.titleBox, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.texts(), (QStringList{kSent, kSent}));
    EXPECT_EQ(parseMailRecords(decodeCp932(log()), 6).size(), 2);
}

TEST_F(MailScreens, theListTakingTheFocusChoosesNobodyTheKeyboardChoosesAsAClickDoes)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    run.fakes.dialogs.shown.clear(); // taro's empty inbox at login
    const QByteArray taroBefore = inbox(kTaro);
    // Through the list by Tab, on to the title and the body, and Enter: nobody was chosen.
    m.recipientList->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(m.recipientBox->text().isEmpty());
    QTest::keyClick(m.recipientList, Qt::Key_Tab);
    m.titleBox->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(m.titleBox, QStringLiteral("title"));
    m.bodyBox->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(m.bodyBox, QStringLiteral("body"));
    QTest::keyClick(m.bodyBox, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.texts(), QStringList{QStringLiteral("受信者が選ばれていません")});
    EXPECT_EQ(inbox(kTaro), taroBefore);
    EXPECT_TRUE(log().isEmpty());

    // Space chooses the marked name, the arrows the next one; that one gets the mail.
    m.recipientList->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m.recipientList, Qt::Key_Space);
    EXPECT_EQ(m.recipientBox->text(), kTaro);
    QTest::keyClick(m.recipientList, Qt::Key_Down);
    EXPECT_EQ(m.recipientBox->text(), kHanako);
    QTest::keyClick(m.recipientList, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.last(), kSent);
    EXPECT_EQ(parseInbox(decodeCp932(inbox())).first().title, QStringLiteral("title"));
}

// A title pasted with a line break is sent as the one line the box shows.
TEST_F(MailScreens, aLineBreakPastedIntoTheTitleBecomesTheSpaceTheBoxShows)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    compose(form, kHanako, QString(), QStringLiteral("本文"));
    QApplication::clipboard()->setText(QStringLiteral("abc\r\ndef\n"));
    m.titleBox->paste();
    EXPECT_EQ(m.titleBox->text(), QStringLiteral("abc def "));
    m.sendButton->click();
    EXPECT_EQ(run.fakes.dialogs.last(), kSent);
    EXPECT_EQ(parseInbox(decodeCp932(inbox())).first().title, QStringLiteral("abc def "));
}

TEST_F(MailScreens, tabLeavesTheBodyForTheSendButton)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    m.bodyBox->setFocus();
    QTest::keyClicks(m.bodyBox, QStringLiteral("body"));
    QTest::keyClick(m.bodyBox, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), m.sendButton);
    EXPECT_EQ(m.bodyBox->toPlainText(), QStringLiteral("body"));
}

TEST_F(MailScreens, refusedMailKeepsWhatWasTypedAndWritesNothing)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    form->show();
    struct Case
    {
        QString recipient, title, body, message;
        QWidget *focus;
    } cases[] = {
        {kHanako, QString(), QStringLiteral("b"), QStringLiteral("タイトルが入力されていません"), m.titleBox},
        {QString(), QStringLiteral("t"), QStringLiteral("b"), QStringLiteral("受信者が選ばれていません"),
         m.recipientBox},
        {kHanako, QStringLiteral("t"), QString(), QStringLiteral("本文が入力されていません"), m.bodyBox},
        {kHanako, QStringLiteral("𠮷"), QStringLiteral("b"),
         QStringLiteral("件名に使えない文字が含まれています。別の文字に変えて下さい。\n（1文字目の「𠮷」）"),
         m.titleBox},
        {kHanako, QStringLiteral("t"), QStringLiteral("😀"),
         QStringLiteral("本文に使えない文字が含まれています。別の文字に変えて下さい。\n（1文字目の「😀」）"),
         m.bodyBox},
        {QStringLiteral("知らない人"), QStringLiteral("t"), QStringLiteral("b"),
         QStringLiteral("「知らない人」さんは登録されていません。一覧から選んで下さい。"), m.recipientBox},
        {kHanako, QStringLiteral("\"はい\",いいえ"), QStringLiteral("b"),
         QStringLiteral("件名の「\"」のすぐ後に「,」を書くと、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。"),
         m.titleBox},
        {kHanako, QStringLiteral("t"), QStringLiteral("\"はい\"\nいいえ"),
         QStringLiteral("本文の「\"」のすぐ後で改行すると、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。"),
         m.bodyBox},
    };
    for (const Case &c : cases) {
        m.recipientList->setCurrentRow(-1);
        m.recipientBox->setText(c.recipient);
        m.titleBox->setText(c.title);
        m.bodyBox->setPlainText(c.body);
        m.sendButton->click();
        EXPECT_EQ(run.fakes.dialogs.last(), c.message);
        EXPECT_EQ(m.titleBox->text(), c.title);
        EXPECT_EQ(m.bodyBox->toPlainText(), c.body);
        EXPECT_EQ(form->focusWidget(), c.focus) << c.message.toStdString();
    }
    // The refused character is selected where it was typed.
    m.recipientBox->setText(kHanako);
    m.titleBox->setText(QStringLiteral("件名"));
    m.bodyBox->setPlainText(QStringLiteral("一行目\n二行目の™です"));
    m.sendButton->click();
    EXPECT_EQ(m.bodyBox->textCursor().selectedText(), QStringLiteral("™"));
    m.titleBox->setText(QStringLiteral("ab€"));
    m.sendButton->click();
    EXPECT_EQ(m.titleBox->selectedText(), QStringLiteral("€"));
    EXPECT_EQ(m.sentDateLabel->text(), QStringLiteral("送信日"));
    EXPECT_TRUE(inbox().isEmpty());
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(MailScreens, aMissingRecipientFolderIsReportedNotCalledSent)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    QDir(site.local(perumina::site::userFolder(kServer, kHanako))).removeRecursively();
    compose(form, kHanako, QStringLiteral("t"), QStringLiteral("b"));
    m.sendButton->click();
    EXPECT_EQ(run.fakes.dialogs.last(),
              QStringLiteral("メールを送信できませんでした。\n佐藤花子さんのフォルダが見つかりません。"));
    EXPECT_EQ(m.bodyBox->toPlainText(), QStringLiteral("b"));
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(MailScreens, clearEmptiesTheBodyAndQuitOnlyStartsTheSweeper)
{
    ClientRun run;
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    form->show();
    m.titleBox->setText(QStringLiteral("残る"));
    m.bodyBox->setPlainText(QStringLiteral("消す"));
    m.clearButton->click();
    EXPECT_TRUE(m.bodyBox->toPlainText().isEmpty());
    EXPECT_EQ(m.titleBox->text(), QStringLiteral("残る"));

    // "終了" only starts the sweeper; closing the window ends the program.
    m.quitButton->click();
    EXPECT_EQ(run.fakes.launcher.started, QStringList{local::kSweeper});
    EXPECT_FALSE(run.fakes.end.ended());
    form->close();
    EXPECT_EQ(run.fakes.launcher.started, (QStringList{local::kSweeper, local::kSweeper}));
    EXPECT_TRUE(run.fakes.end.ended());
}

TEST_F(MailScreens, everyScreenButtonHidesTheScreenAndShowsItsTarget)
{
    ClientRun run;
    MailScreen *compose = run.app->mailScreen();
    const MailControls m(compose);
    ReaderScreen *reader = run.app->readerScreen();
    const ReaderControls r(reader);
    struct Case
    {
        QWidget *from;
        const char *button;
        QWidget *to;
    } cases[] = {
        {compose, "drawButton", run.app->canvasScreen()},
        {compose, "viewPicturesButton", run.app->viewerScreen()},
        {compose, "readMailButton", reader},
        {compose, "backButton", run.app->menuScreen()},
        {reader, "writeMailButton", compose},
        {reader, "drawButton", run.app->canvasScreen()},
        {reader, "viewPicturesButton", run.app->viewerScreen()},
        {reader, "backButton", run.app->menuScreen()},
    };
    for (const Case &c : cases) {
        c.from->show();
        control<QPushButton>(c.from, c.button)->click();
        EXPECT_FALSE(c.from->isVisible()) << c.button;
        EXPECT_TRUE(c.to->isVisible()) << c.button;
        c.to->hide();
    }
    EXPECT_TRUE(run.fakes.launcher.started.isEmpty());
    // The reader's "終了" ends the program after starting the sweeper.
    r.quitButton->click();
    EXPECT_EQ(run.fakes.launcher.started, QStringList{local::kSweeper});
    EXPECT_TRUE(run.fakes.end.ended());
}

TEST_F(MailScreens, readerOpensOnTheNewestAndStepsThroughAllThree)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    ReaderScreen *reader = hana.app->readerScreen();
    const ReaderControls r(reader);
    EXPECT_TRUE(hana.fakes.dialogs.shown.isEmpty()) << hana.fakes.dialogs.last().toStdString();
    EXPECT_EQ(QFile(perumina::site::localInboxCopy()).size(), inbox().size());
    const QStringList newest{"2026/04/08", "11:45:59", "taro", "三通目", "新しい本文"};
    const QStringList middle{"2026/04/08", "10:30:15", "taro", "題名, \"引用\"付き",
                             "一行目\n二行目\n三行目"};
    const QStringList oldest{"2026/04/08", "9:00:00", "taro", "一通目", "古い本文"};
    EXPECT_EQ(shown(reader), newest);

    r.olderButton->click();
    EXPECT_EQ(shown(reader), middle);
    r.olderButton->click();
    EXPECT_EQ(shown(reader), oldest);
    EXPECT_TRUE(hana.fakes.dialogs.shown.isEmpty());
    // The empty lines after the records and the end show the message; the oldest mail stays.
    for (int press = 1; press <= 5; ++press) {
        r.olderButton->click();
        EXPECT_EQ(hana.fakes.dialogs.shown.size(), press);
        EXPECT_EQ(hana.fakes.dialogs.last(), kNoOlder);
        EXPECT_EQ(shown(reader), oldest);
    }
    // The presses stopped at the end, one past the empty lines: each press of "最新のメールへ" steps back
    // by one, the empty lines answering with the newest-mail message, then the mails in turn.
    r.newerButton->click();
    EXPECT_EQ(hana.fakes.dialogs.shown.size(), 6);
    EXPECT_EQ(hana.fakes.dialogs.last(), kNoNewer);
    r.newerButton->click();
    EXPECT_EQ(hana.fakes.dialogs.shown.size(), 6);
    EXPECT_EQ(shown(reader), oldest);
    r.newerButton->click();
    EXPECT_EQ(shown(reader), middle);
}

TEST_F(MailScreens, newerOnTheNewestStaysAndOlderShowsItAgain)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    ReaderScreen *reader = hana.app->readerScreen();
    const ReaderControls r(reader);
    const QStringList newest = shown(reader);
    r.newerButton->click();
    EXPECT_EQ(hana.fakes.dialogs.texts(), QStringList{kNoNewer});
    EXPECT_EQ(shown(reader), newest);
    r.newerButton->click();
    EXPECT_EQ(hana.fakes.dialogs.texts(), (QStringList{kNoNewer, kNoNewer}));
    // One step back is the newest again, without a message: the presses stayed just before it.
    r.olderButton->click();
    EXPECT_EQ(shown(reader), newest);
    EXPECT_EQ(hana.fakes.dialogs.shown.size(), 2);
}

TEST_F(MailScreens, readerLoadMessageForAnEmptyInboxOrACopyThatCannotBeReplaced)
{
    {
        // A new user's inbox holds no record.
        ClientRun hana(QStringLiteral("hana"), kHanako);
        EXPECT_EQ(hana.fakes.dialogs.texts(), QStringList{kLoadMessage});
        ReaderScreen *reader = hana.app->readerScreen();
        const ReaderControls r(reader);
        reader->show();
        EXPECT_EQ(shown(reader), QStringList(5));
        EXPECT_EQ(hana.fakes.dialogs.shown.size(), 1); // showing it later does not load again
        r.olderButton->click();
        EXPECT_EQ(hana.fakes.dialogs.last(), kNoOlder);
    }
    deliverThree();
    {
        // A left-over copy that is read-only is neither replaced nor shown.
        site.writeBytes(perumina::site::localInboxCopy(),
                        sjis(QStringLiteral("\"1999/01/01\",\"0:00:00\",\"前の人\",\"古い\",\"x\"\r\n")));
        QFile::setPermissions(perumina::site::localInboxCopy(), QFileDevice::ReadOwner);
        ClientRun hana(QStringLiteral("hana"), kHanako);
        EXPECT_EQ(hana.fakes.dialogs.texts(), QStringList{kLoadMessage});
        EXPECT_EQ(shown(hana.app->readerScreen()), QStringList(5));
        QFile::setPermissions(perumina::site::localInboxCopy(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    {
        // No such user folder on the share.
        ClientRun ghost(QStringLiteral("ghost"), QStringLiteral("幽霊"));
        EXPECT_EQ(ghost.fakes.dialogs.texts(), QStringList{kLoadMessage});
    }
}

TEST_F(MailScreens, aSecondLoginInTheSameRunReadsThatUsersInbox)
{
    deliverThree();
    ClientRun run(QStringLiteral("taro"), kTaro); // taro has no mail
    EXPECT_EQ(run.fakes.dialogs.texts(), QStringList{kLoadMessage});
    run.login(QStringLiteral("hana"), kHanako);
    ReaderScreen *reader = run.app->readerScreen();
    const ReaderControls r(reader);
    reader->show();
    EXPECT_EQ(r.nameLabel->text(), kHanako);
    EXPECT_EQ(r.titleBox->text(), QStringLiteral("三通目"));
    // And hana's mails carry hana as the sender.
    MailScreen *form = run.app->mailScreen();
    const MailControls m(form);
    form->show();
    EXPECT_EQ(m.senderBox->text(), QStringLiteral("hana"));
}

TEST_F(MailScreens, replyChoosesTheSenderAnswersTheTitleAndWaitsInTheBody)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    ReaderScreen *reader = hana.app->readerScreen();
    const ReaderControls r(reader);
    reader->show();
    QTest::mouseClick(r.replyButton, Qt::LeftButton);
    MailScreen *form = hana.app->mailScreen();
    const MailControls m(form);
    EXPECT_FALSE(reader->isVisible());
    ASSERT_TRUE(form->isVisible());
    ASSERT_NE(m.recipientList->currentItem(), nullptr);
    EXPECT_EQ(m.recipientList->currentItem()->text(), kTaro);
    EXPECT_EQ(m.recipientBox->text(), kTaro);
    EXPECT_EQ(m.titleBox->text(), QStringLiteral("Re: 三通目"));
    EXPECT_TRUE(m.bodyBox->toPlainText().isEmpty());
    EXPECT_EQ(form->focusWidget(), m.bodyBox);
    QTest::keyClicks(form->focusWidget(), QStringLiteral("thanks"));
    m.sendButton->click();
    EXPECT_EQ(hana.fakes.dialogs.last(), kSent);
    EXPECT_TRUE(inbox(kTaro).contains(sjis(QStringLiteral("\"hana\",\"Re: 三通目\",\"thanks\"\r\n"))));

    // Answering the answer keeps one "Re: ".
    ClientRun taro;
    taro.app->readerScreen()->show();
    ReaderControls(taro.app->readerScreen()).replyButton->click();
    EXPECT_EQ(MailControls(taro.app->mailScreen()).recipientBox->text(), kHanako);
    EXPECT_EQ(MailControls(taro.app->mailScreen()).titleBox->text(), QStringLiteral("Re: 三通目"));
}

TEST_F(MailScreens, replyToSomeoneNoLongerRegisteredSaysSoAndOpensNothing)
{
    site.writeBytes(perumina::site::inbox(kServer, kHanako),
                    sjis(QStringLiteral("\"2026/04/08\",\"9:00:00\",\"ken\",\"質問\",\"本文\"\r\n\r\n")));
    ClientRun hana(QStringLiteral("hana"), kHanako);
    ReaderScreen *reader = hana.app->readerScreen();
    const ReaderControls r(reader);
    reader->show();
    r.replyButton->click();
    EXPECT_EQ(hana.fakes.dialogs.last(), senderLeftMessage(QStringLiteral("ken")));
    EXPECT_TRUE(reader->isVisible());
    EXPECT_FALSE(hana.app->mailScreen()->isVisible());
    EXPECT_TRUE(MailControls(hana.app->mailScreen()).titleBox->text().isEmpty());
}

// Two classroom computers, each with its own local folder and inbox copy, on one share.
TEST_F(MailScreens, newMailIsCountedSinceTheLastReadingOnAnyComputer)
{
    deliverThree(); // hana: 9:00:00, 10:30:15 and 11:45:59
    const QString markPath = perumina::site::mailReadMark(kServer, kHanako);
    const QString first = site.root();
    TempSite secondSite;
    const QString second = secondSite.root();
    QDir().mkpath(second + QStringLiteral("/unc/SERVER"));
    ASSERT_TRUE(QFile::link(first + QStringLiteral("/unc/SERVER/ぺるみな"),
                            second + QStringLiteral("/unc/SERVER/ぺるみな")));
    const auto onComputer = [](const QString &root) { qputenv("PERUMINA_ROOT", root.toUtf8()); };
    const auto count = [](ClientRun &run) {
        MenuScreen *menu = run.app->menuScreen();
        menu->show();
        const auto *label = testing_support::control<QLabel>(menu, "newMailLabel");
        const QString text = label->isVisible() ? label->text() : QString();
        menu->hide();
        return text;
    };

    onComputer(first);
    ClientRun atFirst(QStringLiteral("hana"), kHanako);
    EXPECT_EQ(count(atFirst), QString()); // never read: no mark, no count
    ReaderScreen *firstReader = atFirst.app->readerScreen();
    const ReaderControls r1(firstReader);
    firstReader->show();
    EXPECT_FALSE(r1.newMarkLabel->isVisible());
    EXPECT_EQ(site.bytes(markPath), QByteArray("2026/04/08 11:45:59\r\n"));
    EXPECT_EQ(count(atFirst), newMailMessage(0));

    for (const char *time : {"12:00:00", "12:00:01"}) {
        const Mail mail{QStringLiteral("2026/04/08"), QString::fromLatin1(time),
                        QStringLiteral("taro"),       kHanako,
                        QStringLiteral("追伸"),       QStringLiteral("本文")};
        ASSERT_TRUE(deliverMail(kServer, mail).done());
    }

    onComputer(second);
    {
        ClientRun atSecond(QStringLiteral("hana"), kHanako);
        EXPECT_EQ(count(atSecond), newMailMessage(2));
        ReaderScreen *reader = atSecond.app->readerScreen();
        const ReaderControls r(reader);
        reader->show();
        EXPECT_TRUE(r.newMarkLabel->isVisible());
        EXPECT_EQ(site.bytes(markPath), QByteArray("2026/04/08 12:00:01\r\n"));
        r.olderButton->click();
        EXPECT_TRUE(r.newMarkLabel->isVisible()); // 12:00:00, also new at this reading
        r.olderButton->click();
        EXPECT_EQ(r.timeBox->text(), QStringLiteral("11:45:59"));
        EXPECT_FALSE(r.newMarkLabel->isVisible());
        EXPECT_EQ(count(atSecond), newMailMessage(0));
    }

    // The first computer's older copy, read further, does not take the mark back.
    onComputer(first);
    r1.olderButton->click();
    EXPECT_EQ(site.bytes(markPath), QByteArray("2026/04/08 12:00:01\r\n"));
    ClientRun again(QStringLiteral("hana"), kHanako);
    EXPECT_EQ(count(again), newMailMessage(0));
}

// The writing and reading screens show every caption; build/screens/mailscreen.png and readerscreen.png
// when PERUMINA_SCREENS is set.
TEST_F(MailScreens, Screenshot)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    MailScreen *form = hana.app->mailScreen();
    const MailControls m(form);
    compose(form, kTaro, QStringLiteral("お返事"), QStringLiteral("ありがとう\n元気です"));
    EXPECT_TRUE(testing_support::screenshot(form, QStringLiteral("mailscreen")));
    ReaderScreen *reader = hana.app->readerScreen();
    const ReaderControls r(reader);
    r.olderButton->click();
    EXPECT_TRUE(testing_support::screenshot(reader, QStringLiteral("readerscreen")));
}
