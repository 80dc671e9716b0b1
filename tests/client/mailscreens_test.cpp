// The mail screen and the reader, driven as a user drives them.
#include "client/core/mail.h"
#include "client/core/newmail.h"
#include "client/core/reply.h"
#include "client/ui/clientapp.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/loginscreen.h"
#include "client/ui/menuscreen.h"
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
        app->form09()->Label2->setText(fullName);
    }
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

    static void compose(Form05 *form, const QString &recipient, const QString &title, const QString &body)
    {
        const auto items = form->List1->findItems(recipient, Qt::MatchExactly);
        if (items.isEmpty()) {
            form->Text4->setText(recipient);
        } else {
            form->List1->setCurrentItem(items.first());
            QTest::mouseClick(form->List1->viewport(), Qt::LeftButton, {},
                              form->List1->visualItemRect(items.first()).center());
        }
        form->Text2->setText(title);
        form->Text1->setPlainText(body);
    }
    // Delivers three mails to hana, the second with a three-line body and a title with comma and quotes.
    void deliverThree()
    {
        ClientRun taro;
        Form05 *form = taro.app->form05();
        const char *times[] = {"9:00:00", "10:30:15", "11:45:59"};
        const QString titles[] = {QStringLiteral("一通目"), QStringLiteral("題名, \"引用\"付き"),
                                  QStringLiteral("三通目")};
        const QString bodies[] = {QStringLiteral("古い本文"), QStringLiteral("一行目\n二行目\n三行目"),
                                  QStringLiteral("新しい本文")};
        for (int i = 0; i < 3; ++i) {
            taro.fakes.clock.set(QDateTime(QDate(2026, 4, 8), QTime::fromString(times[i], "H:mm:ss")));
            compose(form, kHanako, titles[i], bodies[i]);
            form->Command1->click();
            ASSERT_EQ(taro.fakes.dialogs.last(), kSent);
        }
    }
    static QStringList shown(Form09 *reader)
    {
        return {reader->Text1->text(), reader->Text2->text(), reader->Text3->text(), reader->Text4->text(),
                reader->Text5->toPlainText()};
    }
};

} // namespace

TEST_F(MailScreens, composeScreenLoadsTheRecipientsAndTheSender)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    ASSERT_EQ(form->List1->count(), 2);
    EXPECT_EQ(form->List1->item(0)->text(), kTaro);
    EXPECT_EQ(form->List1->item(1)->text(), kHanako);
    EXPECT_EQ(form->Text3->text(), QStringLiteral("taro"));
    EXPECT_EQ(form->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("送信"));
    EXPECT_EQ(
        form->Label6->text(),
        QStringLiteral("途中で改行するときは  Shift  または  Ctrl  を押しながら  Enter  を押して下さい。"));
    EXPECT_TRUE(form->Command1->isDefault());
    compose(form, kHanako, QString(), QString());
    EXPECT_EQ(form->Text4->text(), kHanako);
}

TEST_F(MailScreens, enterSendsWhileShiftOrCtrlEnterBreaksTheLine)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    form->show();
    run.fakes.dialogs.shown.clear(); // taro's empty inbox at login
    compose(form, kHanako, QStringLiteral("件名"), QString());
    form->Text1->setFocus();
    QTest::keyClicks(form->Text1, QStringLiteral("a"));
    QTest::keyClick(form->Text1, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(form->Text1, QStringLiteral("b"));
    QTest::keyClick(form->Text1, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(form->Text1, QStringLiteral("c"));
    EXPECT_TRUE(run.fakes.dialogs.shown.isEmpty());
    QTest::keyClick(form->Text1, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.texts(), QStringList{kSent});
    EXPECT_EQ(inbox(),
              sjis(QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"件名\",\"a\r\nb\r\nc\"\r\n\r\n")));
    // Title and body are cleared; recipient, sender and the stamp stay.
    EXPECT_TRUE(form->Text1->toPlainText().isEmpty());
    EXPECT_TRUE(form->Text2->text().isEmpty());
    EXPECT_EQ(form->Text4->text(), kHanako);
    EXPECT_EQ(form->Label4->text(), QStringLiteral("2026/04/08"));
    EXPECT_EQ(form->Label5->text(), QStringLiteral("9:05:03"));

    // Enter in the title box sends too.
    form->Text2->setText(QStringLiteral("二通目"));
    form->Text1->setPlainText(QStringLiteral("x"));
    QTest::keyClick(form->Text2, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.texts(), (QStringList{kSent, kSent}));
    EXPECT_EQ(parseMailRecords(decodeCp932(log()), 6).size(), 2);
}

TEST_F(MailScreens, theListTakingTheFocusChoosesNobodyTheKeyboardChoosesAsAClickDoes)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    run.fakes.dialogs.shown.clear(); // taro's empty inbox at login
    const QByteArray taroBefore = inbox(kTaro);
    // Through the list by Tab, on to the title and the body, and Enter: nobody was chosen.
    form->List1->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(form->Text4->text().isEmpty());
    QTest::keyClick(form->List1, Qt::Key_Tab);
    form->Text2->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form->Text2, QStringLiteral("title"));
    form->Text1->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form->Text1, QStringLiteral("body"));
    QTest::keyClick(form->Text1, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.texts(), QStringList{QStringLiteral("受信者が選ばれていません")});
    EXPECT_EQ(inbox(kTaro), taroBefore);
    EXPECT_TRUE(log().isEmpty());

    // Space chooses the marked name, the arrows the next one; that one gets the mail.
    form->List1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->List1, Qt::Key_Space);
    EXPECT_EQ(form->Text4->text(), kTaro);
    QTest::keyClick(form->List1, Qt::Key_Down);
    EXPECT_EQ(form->Text4->text(), kHanako);
    QTest::keyClick(form->List1, Qt::Key_Return);
    EXPECT_EQ(run.fakes.dialogs.last(), kSent);
    EXPECT_EQ(parseInbox(decodeCp932(inbox())).first().title, QStringLiteral("title"));
}

// A title pasted with a line break is sent as the one line the box shows.
TEST_F(MailScreens, aLineBreakPastedIntoTheTitleBecomesTheSpaceTheBoxShows)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    compose(form, kHanako, QString(), QStringLiteral("本文"));
    QApplication::clipboard()->setText(QStringLiteral("abc\r\ndef\n"));
    form->Text2->paste();
    EXPECT_EQ(form->Text2->text(), QStringLiteral("abc def "));
    form->Command1->click();
    EXPECT_EQ(run.fakes.dialogs.last(), kSent);
    EXPECT_EQ(parseInbox(decodeCp932(inbox())).first().title, QStringLiteral("abc def "));
}

TEST_F(MailScreens, tabLeavesTheBodyForTheSendButton)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->Text1->setFocus();
    QTest::keyClicks(form->Text1, QStringLiteral("body"));
    QTest::keyClick(form->Text1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->Command1);
    EXPECT_EQ(form->Text1->toPlainText(), QStringLiteral("body"));
}

TEST_F(MailScreens, refusedMailKeepsWhatWasTypedAndWritesNothing)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    form->show();
    struct Case
    {
        QString recipient, title, body, message;
        QWidget *focus;
    } cases[] = {
        {kHanako, QString(), QStringLiteral("b"), QStringLiteral("タイトルが入力されていません"),
         form->Text2},
        {QString(), QStringLiteral("t"), QStringLiteral("b"), QStringLiteral("受信者が選ばれていません"),
         form->Text4},
        {kHanako, QStringLiteral("t"), QString(), QStringLiteral("本文が入力されていません"), form->Text1},
        {kHanako, QStringLiteral("𠮷"), QStringLiteral("b"),
         QStringLiteral("件名に使えない文字が含まれています。別の文字に変えて下さい。\n（1文字目の「𠮷」）"),
         form->Text2},
        {kHanako, QStringLiteral("t"), QStringLiteral("😀"),
         QStringLiteral("本文に使えない文字が含まれています。別の文字に変えて下さい。\n（1文字目の「😀」）"),
         form->Text1},
        {QStringLiteral("知らない人"), QStringLiteral("t"), QStringLiteral("b"),
         QStringLiteral("「知らない人」さんは登録されていません。一覧から選んで下さい。"), form->Text4},
        {kHanako, QStringLiteral("\"はい\",いいえ"), QStringLiteral("b"),
         QStringLiteral("件名の「\"」のすぐ後に「,」を書くと、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。"),
         form->Text2},
        {kHanako, QStringLiteral("t"), QStringLiteral("\"はい\"\nいいえ"),
         QStringLiteral("本文の「\"」のすぐ後で改行すると、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。"),
         form->Text1},
    };
    for (const Case &c : cases) {
        form->List1->setCurrentRow(-1);
        form->Text4->setText(c.recipient);
        form->Text2->setText(c.title);
        form->Text1->setPlainText(c.body);
        form->Command1->click();
        EXPECT_EQ(run.fakes.dialogs.last(), c.message);
        EXPECT_EQ(form->Text2->text(), c.title);
        EXPECT_EQ(form->Text1->toPlainText(), c.body);
        EXPECT_EQ(form->focusWidget(), c.focus) << c.message.toStdString();
    }
    // The refused character is selected where it was typed.
    form->Text4->setText(kHanako);
    form->Text2->setText(QStringLiteral("件名"));
    form->Text1->setPlainText(QStringLiteral("一行目\n二行目の™です"));
    form->Command1->click();
    EXPECT_EQ(form->Text1->textCursor().selectedText(), QStringLiteral("™"));
    form->Text2->setText(QStringLiteral("ab€"));
    form->Command1->click();
    EXPECT_EQ(form->Text2->selectedText(), QStringLiteral("€"));
    EXPECT_EQ(form->Label4->text(), QStringLiteral("送信日"));
    EXPECT_TRUE(inbox().isEmpty());
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(MailScreens, aMissingRecipientFolderIsReportedNotCalledSent)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    QDir(site.local(perumina::site::userFolder(kServer, kHanako))).removeRecursively();
    compose(form, kHanako, QStringLiteral("t"), QStringLiteral("b"));
    form->Command1->click();
    EXPECT_EQ(run.fakes.dialogs.last(),
              QStringLiteral("メールを送信できませんでした。\n佐藤花子さんのフォルダが見つかりません。"));
    EXPECT_EQ(form->Text1->toPlainText(), QStringLiteral("b"));
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(MailScreens, clearEmptiesTheBodyAndQuitOnlyStartsTheSweeper)
{
    ClientRun run;
    Form05 *form = run.app->form05();
    form->show();
    form->Text2->setText(QStringLiteral("残る"));
    form->Text1->setPlainText(QStringLiteral("消す"));
    form->Command6->click();
    EXPECT_TRUE(form->Text1->toPlainText().isEmpty());
    EXPECT_EQ(form->Text2->text(), QStringLiteral("残る"));

    // "終了" only starts the sweeper; closing the window ends the program.
    form->Command5->click();
    EXPECT_EQ(run.fakes.launcher.started, QStringList{local::kSweeper});
    EXPECT_FALSE(run.fakes.end.ended());
    form->close();
    EXPECT_EQ(run.fakes.launcher.started, (QStringList{local::kSweeper, local::kSweeper}));
    EXPECT_TRUE(run.fakes.end.ended());
}

TEST_F(MailScreens, everyScreenButtonHidesTheScreenAndShowsItsTarget)
{
    ClientRun run;
    Form05 *compose = run.app->form05();
    Form09 *reader = run.app->form09();
    struct Case
    {
        QWidget *from;
        QPushButton *button;
        QWidget *to;
    } cases[] = {
        {compose, compose->Command2, run.app->form06()},
        {compose, compose->Command3, run.app->form10()},
        {compose, compose->Command4, reader},
        {compose, compose->Command7, run.app->menuScreen()},
        {reader, reader->Command1, compose},
        {reader, reader->Command4, run.app->form06()},
        {reader, reader->Command2, run.app->form10()},
        {reader, reader->Command7, run.app->menuScreen()},
    };
    for (const Case &c : cases) {
        c.from->show();
        c.button->click();
        EXPECT_FALSE(c.from->isVisible()) << c.button->text().toStdString();
        EXPECT_TRUE(c.to->isVisible()) << c.button->text().toStdString();
        c.to->hide();
    }
    EXPECT_TRUE(run.fakes.launcher.started.isEmpty());
    // The reader's "終了" ends the program after starting the sweeper.
    reader->Command3->click();
    EXPECT_EQ(run.fakes.launcher.started, QStringList{local::kSweeper});
    EXPECT_TRUE(run.fakes.end.ended());
}

TEST_F(MailScreens, readerOpensOnTheNewestAndStepsThroughAllThree)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    Form09 *reader = hana.app->form09();
    EXPECT_TRUE(hana.fakes.dialogs.shown.isEmpty()) << hana.fakes.dialogs.last().toStdString();
    EXPECT_EQ(QFile(perumina::site::localInboxCopy()).size(), inbox().size());
    const QStringList newest{"2026/04/08", "11:45:59", "taro", "三通目", "新しい本文"};
    const QStringList middle{"2026/04/08", "10:30:15", "taro", "題名, \"引用\"付き",
                             "一行目\n二行目\n三行目"};
    const QStringList oldest{"2026/04/08", "9:00:00", "taro", "一通目", "古い本文"};
    EXPECT_EQ(shown(reader), newest);

    reader->Command6->click();
    EXPECT_EQ(shown(reader), middle);
    reader->Command6->click();
    EXPECT_EQ(shown(reader), oldest);
    EXPECT_TRUE(hana.fakes.dialogs.shown.isEmpty());
    // The empty lines after the records and the end show the message; the oldest mail stays.
    for (int press = 1; press <= 5; ++press) {
        reader->Command6->click();
        EXPECT_EQ(hana.fakes.dialogs.shown.size(), press);
        EXPECT_EQ(hana.fakes.dialogs.last(), kNoOlder);
        EXPECT_EQ(shown(reader), oldest);
    }
    EXPECT_EQ(reader->position(), 4); // 3 mails + the empty lines after them, as one record
    // Each press of "最新のメールへ" steps back by one; the empty lines answer with the newest-mail message.
    reader->Command5->click();
    EXPECT_EQ(hana.fakes.dialogs.last(), kNoNewer);
    reader->Command5->click();
    EXPECT_EQ(shown(reader), oldest);
    EXPECT_EQ(reader->position(), 2);
}

TEST_F(MailScreens, newerOnTheNewestStaysAndOlderShowsItAgain)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    Form09 *reader = hana.app->form09();
    const QStringList newest = shown(reader);
    reader->Command5->click();
    EXPECT_EQ(hana.fakes.dialogs.texts(), QStringList{kNoNewer});
    EXPECT_EQ(reader->position(), -1);
    EXPECT_EQ(shown(reader), newest);
    reader->Command5->click();
    EXPECT_EQ(reader->position(), -1);
    reader->Command6->click();
    EXPECT_EQ(reader->position(), 0);
    EXPECT_EQ(shown(reader), newest);
    EXPECT_EQ(hana.fakes.dialogs.shown.size(), 2);
}

TEST_F(MailScreens, readerLoadMessageForAnEmptyInboxOrACopyThatCannotBeReplaced)
{
    {
        // A new user's inbox holds no record.
        ClientRun hana(QStringLiteral("hana"), kHanako);
        EXPECT_EQ(hana.fakes.dialogs.texts(), QStringList{kLoadMessage});
        Form09 *reader = hana.app->form09();
        reader->show();
        EXPECT_EQ(shown(reader), QStringList(5));
        EXPECT_EQ(hana.fakes.dialogs.shown.size(), 1); // showing it later does not load again
        reader->Command6->click();
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
        EXPECT_EQ(shown(hana.app->form09()), QStringList(5));
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
    Form09 *reader = run.app->form09();
    reader->show();
    EXPECT_EQ(reader->Label2->text(), kHanako);
    EXPECT_EQ(reader->Text4->text(), QStringLiteral("三通目"));
    // And hana's mails carry hana as the sender.
    Form05 *form = run.app->form05();
    form->show();
    EXPECT_EQ(form->Text3->text(), QStringLiteral("hana"));
}

TEST_F(MailScreens, replyChoosesTheSenderAnswersTheTitleAndWaitsInTheBody)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    Form09 *reader = hana.app->form09();
    reader->show();
    QTest::mouseClick(reader->replyButton, Qt::LeftButton);
    Form05 *form = hana.app->form05();
    EXPECT_FALSE(reader->isVisible());
    ASSERT_TRUE(form->isVisible());
    ASSERT_NE(form->List1->currentItem(), nullptr);
    EXPECT_EQ(form->List1->currentItem()->text(), kTaro);
    EXPECT_EQ(form->Text4->text(), kTaro);
    EXPECT_EQ(form->Text2->text(), QStringLiteral("Re: 三通目"));
    EXPECT_TRUE(form->Text1->toPlainText().isEmpty());
    EXPECT_EQ(form->focusWidget(), form->Text1);
    QTest::keyClicks(form->focusWidget(), QStringLiteral("thanks"));
    form->Command1->click();
    EXPECT_EQ(hana.fakes.dialogs.last(), kSent);
    EXPECT_TRUE(inbox(kTaro).contains(sjis(QStringLiteral("\"hana\",\"Re: 三通目\",\"thanks\"\r\n"))));

    // Answering the answer keeps one "Re: ".
    ClientRun taro;
    taro.app->form09()->show();
    taro.app->form09()->replyButton->click();
    EXPECT_EQ(taro.app->form05()->Text4->text(), kHanako);
    EXPECT_EQ(taro.app->form05()->Text2->text(), QStringLiteral("Re: 三通目"));
}

TEST_F(MailScreens, replyToSomeoneNoLongerRegisteredSaysSoAndOpensNothing)
{
    site.writeBytes(perumina::site::inbox(kServer, kHanako),
                    sjis(QStringLiteral("\"2026/04/08\",\"9:00:00\",\"ken\",\"質問\",\"本文\"\r\n\r\n")));
    ClientRun hana(QStringLiteral("hana"), kHanako);
    Form09 *reader = hana.app->form09();
    reader->show();
    reader->replyButton->click();
    EXPECT_EQ(hana.fakes.dialogs.last(), senderLeftMessage(QStringLiteral("ken")));
    EXPECT_TRUE(reader->isVisible());
    EXPECT_FALSE(hana.app->form05()->isVisible());
    EXPECT_TRUE(hana.app->form05()->Text2->text().isEmpty());
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
    Form09 *firstReader = atFirst.app->form09();
    firstReader->show();
    EXPECT_FALSE(firstReader->newMarkLabel->isVisible());
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
        Form09 *reader = atSecond.app->form09();
        reader->show();
        EXPECT_TRUE(reader->newMarkLabel->isVisible());
        EXPECT_EQ(site.bytes(markPath), QByteArray("2026/04/08 12:00:01\r\n"));
        reader->Command6->click();
        EXPECT_TRUE(reader->newMarkLabel->isVisible()); // 12:00:00, also new at this reading
        reader->Command6->click();
        EXPECT_EQ(reader->Text2->text(), QStringLiteral("11:45:59"));
        EXPECT_FALSE(reader->newMarkLabel->isVisible());
        EXPECT_EQ(count(atSecond), newMailMessage(0));
    }

    // The first computer's older copy, read further, does not take the mark back.
    onComputer(first);
    firstReader->Command6->click();
    EXPECT_EQ(site.bytes(markPath), QByteArray("2026/04/08 12:00:01\r\n"));
    ClientRun again(QStringLiteral("hana"), kHanako);
    EXPECT_EQ(count(again), newMailMessage(0));
}

// The writing and reading screens show every caption; build/screens/form05.png and form09.png when
// PERUMINA_SCREENS is set.
TEST_F(MailScreens, Screenshot)
{
    deliverThree();
    ClientRun hana(QStringLiteral("hana"), kHanako);
    Form05 *form = hana.app->form05();
    compose(form, kTaro, QStringLiteral("お返事"), QStringLiteral("ありがとう\n元気です"));
    EXPECT_TRUE(testing_support::screenshot(form, QStringLiteral("form05")));
    Form09 *reader = hana.app->form09();
    reader->Command6->click();
    EXPECT_TRUE(testing_support::screenshot(reader, QStringLiteral("form09")));
}
