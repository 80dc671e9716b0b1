#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "picturesfixture.h"

#include <QDirIterator>
#include <QRadioButton>
#include <QtEndian>

using namespace pictures_test;
using client::CanvasScreen;
namespace pic = client::illustration;

namespace {

const QString kSent =
    QStringLiteral("このイラストを他の人にも送信する場合、相手を指定し直して送信ボタンを押して下さい。");

using Canvas = PicturesTest;

TEST_F(Canvas, loadsTheRecipientsAndTheSenderAndStartsWithBlackAndWidthFive)
{
    CanvasScreen *form = canvas();
    auto *list = onCanvas<QListWidget>("recipientList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), kTaro);
    EXPECT_EQ(list->item(1)->text(), kHanako);
    auto *sender = onCanvas<QLineEdit>("senderBox");
    EXPECT_EQ(sender->text(), QStringLiteral("taro"));
    EXPECT_TRUE(sender->isReadOnly()); // a picture cannot be signed with another name
    // The keyboard picks the recipient as a click does.
    form->show();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(onCanvas<QLineEdit>("recipientBox")->text(), kHanako);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(onCanvas<QLineEdit>("recipientBox")->text(), kTaro);
    EXPECT_TRUE(onCanvas<QRadioButton>("widthOption3")->isChecked());
    EXPECT_TRUE(onCanvas("colourButton14")->isChecked());
    EXPECT_EQ(onCanvas("eraserButton")->text(), QStringLiteral("消しゴム"));
    EXPECT_EQ(surface()->innerWidth(), pic::kWidth);
    EXPECT_EQ(surface()->innerHeight(), pic::kHeight);
    // Each colour button is named by the number it shows.
    for (int n = 1; n <= 26; ++n)
        EXPECT_EQ(onCanvas(QStringLiteral("colourButton%1").arg(n))->text(), QString::number(n));
}

TEST_F(Canvas, aPressLeavesOneRoundDotOfTheSelectedWidth)
{
    for (int i = 0; i < 5; ++i) {
        const int width = pic::kPenWidths[i];
        SCOPED_TRACE(width);
        onCanvas("clearButton")->click();
        onCanvas<QRadioButton>(QStringLiteral("widthOption%1").arg(i + 1))->click();
        const QPoint at(100 + 20 * i, 80);
        press(at);
        release(at);
        send(kTaro, QStringLiteral("点%1").arg(width));
        const QImage saved = sentPicture(kTaro, QStringLiteral("点%1").arg(width));
        ASSERT_FALSE(saved.isNull());
        const QRect ink = inkOutsideSignature(saved);
        EXPECT_EQ(ink.width(), width);
        EXPECT_EQ(ink.height(), width);
        EXPECT_EQ(ink.center(), at);
        EXPECT_EQ(saved.pixelColor(at), QColor(Qt::black));
        // Round: the corners of the dot's box stay white from width 5 on.
        if (width >= 5) {
            EXPECT_EQ(saved.pixelColor(ink.topLeft()), QColor(Qt::white));
        }
    }
}

TEST_F(Canvas, aQuickDragLeavesAConnectedLine)
{
    onCanvas<QRadioButton>("widthOption1")->click();
    stroke({{40, 40}, {200, 40}, {200, 150}, {60, 120}});
    send(kTaro, QStringLiteral("線"));
    const QImage saved = sentPicture(kTaro, QStringLiteral("線"));
    for (int x = 40; x <= 200; ++x)
        ASSERT_EQ(saved.pixelColor(x, 40), QColor(Qt::black)) << x;
    for (int y = 40; y <= 150; ++y)
        ASSERT_EQ(saved.pixelColor(200, y), QColor(Qt::black)) << y;
    // The diagonal back: one black pixel in every column between its ends.
    for (int x = 61; x < 200; ++x) {
        int black = 0;
        for (int y = 115; y <= 155; ++y)
            black += saved.pixelColor(x, y) == QColor(Qt::black);
        ASSERT_GE(black, 1) << x;
    }
    EXPECT_EQ(saved.pixelColor(120, 80), QColor(Qt::white));
    // Moves after the release draw nothing.
    moveTo({300, 300});
    EXPECT_EQ(surface()->picture().pixelColor(300, 300), QColor(Qt::white));
}

TEST_F(Canvas, eachSwatchDrawsItsPenColourAndTheEraserDrawsWhite)
{
    onCanvas<QRadioButton>("widthOption5")->click();
    // The expected pen colours, "1" to "26": the swatch colours, except that "15" draws 0,255,192.
    const QColor expected[26] = {
        {255, 255, 255}, {224, 224, 224}, {192, 192, 192}, {64, 64, 64}, {255, 192, 192}, {255, 0, 0},
        {128, 0, 0},     {255, 224, 192}, {255, 128, 0},   {128, 64, 0}, {255, 255, 192}, {255, 255, 0},
        {128, 128, 0},   {0, 0, 0},       {0, 255, 192},   {0, 255, 0},  {0, 128, 0},     {192, 255, 255},
        {0, 255, 255},   {0, 128, 128},   {192, 192, 255}, {0, 0, 255},  {0, 0, 128},     {255, 192, 255},
        {255, 0, 255},   {128, 0, 128}};
    const auto spot = [](int i) { return QPoint(20 + (i % 13) * 24, 30 + (i / 13) * 40); };
    for (int i = 0; i < 26; ++i) {
        QPushButton *swatch = onCanvas(QStringLiteral("colourButton%1").arg(i + 1));
        QTest::mouseClick(swatch, Qt::LeftButton);
        ASSERT_TRUE(swatch->isChecked());
        press(spot(i));
        release(spot(i));
    }
    // A black bar crossed by the eraser.
    QTest::mouseClick(onCanvas("colourButton14"), Qt::LeftButton);
    stroke({{20, 200}, {300, 200}});
    QTest::mouseClick(onCanvas("eraserButton"), Qt::LeftButton);
    stroke({{150, 180}, {150, 220}});
    send(kHanako, QStringLiteral("色"));
    const QImage saved = sentPicture(kHanako, QStringLiteral("色"));
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(saved.pixelColor(spot(i)), expected[i]) << "swatch " << i + 1;
    // The swatch of "15" still shows its own pale green.
    EXPECT_EQ(onCanvas("colourButton15")->styleSheet().contains(QStringLiteral("#c0ffc0")), true);
    EXPECT_EQ(saved.pixelColor(150, 200), QColor(Qt::white));
    EXPECT_EQ(saved.pixelColor(146, 200), QColor(Qt::white));
    EXPECT_EQ(saved.pixelColor(145, 200), QColor(Qt::black));
    EXPECT_EQ(saved.pixelColor(100, 200), QColor(Qt::black));
}

TEST_F(Canvas, colourIsReadAtEveryMoveAndWidthOnlyAtThePress)
{
    onCanvas<QRadioButton>("widthOption1")->click();
    press({20, 60});
    moveTo({100, 60});
    onCanvas("colourButton6")->click();              // red
    onCanvas<QRadioButton>("widthOption5")->click(); // wider, but only from the next press
    moveTo({180, 60});
    release({180, 60});
    send(kTaro, QStringLiteral("途中"));
    const QImage saved = sentPicture(kTaro, QStringLiteral("途中"));
    EXPECT_EQ(saved.pixelColor(60, 60), QColor(Qt::black));
    EXPECT_EQ(saved.pixelColor(140, 60), QColor(Qt::red));
    EXPECT_EQ(saved.pixelColor(140, 61), QColor(Qt::white));
    EXPECT_EQ(saved.pixelColor(60, 61), QColor(Qt::white));
}

TEST_F(Canvas, bothCopiesAreTheSameBitmapSignedOnceWhileTheCanvasStaysAsDrawn)
{
    onCanvas("colourButton17")->click(); // dark green, lighter than the ink of the name
    stroke({{30, 30}, {120, 90}});
    send(kTaro, QStringLiteral("春"));
    EXPECT_EQ(fakes.dialogs.texts(), QStringList{kSent});
    const auto paths = pic::paths(kServer, kTaro, QStringLiteral("春"));
    const QByteArray recipientCopy = site.bytes(paths.recipientCopy);
    EXPECT_EQ(site.bytes(paths.adminCopy), recipientCopy);
    ASSERT_GT(recipientCopy.size(), 54);
    EXPECT_EQ(recipientCopy.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint32>(recipientCopy.constData() + 2), quint32(recipientCopy.size()));
    EXPECT_EQ(qFromLittleEndian<quint16>(recipientCopy.constData() + 28), 24);
    const QImage saved = QImage::fromData(recipientCopy, "BMP");
    ASSERT_EQ(saved.size(), QSize(pic::kWidth, pic::kHeight));

    // The name stands in the lower right of the saved picture, dark, and nowhere on the canvas.
    QRect ink;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            if (qGray(saved.pixel(x, y)) < 64)
                ink |= QRect(x, y, 1, 1);
    // 7/9 of 477 is 371 and 10/11 of 349 is 317; italic feet lean a little left of the print position.
    EXPECT_GE(ink.left(), 368);
    EXPECT_LE(ink.left(), 377);
    EXPECT_GE(ink.top(), 317);
    EXPECT_LE(ink.top(), 325);
    // 16 points at 96 dots per inch: letters 12 to 24 pixels high.
    EXPECT_GE(ink.height(), 12);
    EXPECT_LE(ink.height(), 24);
    const QImage onScreen = surface()->picture();
    for (int y = 300; y < onScreen.height(); ++y)
        for (int x = 360; x < onScreen.width(); ++x)
            ASSERT_EQ(onScreen.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;

    // The same picture to a second recipient: the same bytes, so the name is in it once.
    send(kHanako, QStringLiteral("春"));
    EXPECT_EQ(sentBytes(kHanako, QStringLiteral("春")), recipientCopy);
    EXPECT_EQ(onCanvas<QLabel>("sentDateLabel")->text(), QStringLiteral("2026/04/08"));
    EXPECT_EQ(onCanvas<QLabel>("sentTimeLabel")->text(), QStringLiteral("9:05:03"));
}

TEST_F(Canvas, strokesAfterASendBelongToTheNextSendAndClearAllClears)
{
    onCanvas<QRadioButton>("widthOption3")->click();
    stroke({{50, 50}, {100, 50}});
    send(kTaro, QStringLiteral("一枚目"));
    onCanvas("clearButton")->click();
    for (int y = 0; y < pic::kHeight; y += 7)
        for (int x = 0; x < pic::kWidth; x += 7)
            ASSERT_EQ(surface()->picture().pixel(x, y), qRgb(255, 255, 255));
    stroke({{50, 150}, {100, 150}});
    send(kTaro, QStringLiteral("二枚目"));
    const QImage second = sentPicture(kTaro, QStringLiteral("二枚目"));
    EXPECT_EQ(second.pixelColor(75, 150), QColor(Qt::black));
    EXPECT_EQ(second.pixelColor(75, 50), QColor(Qt::white));
    const QImage first = sentPicture(kTaro, QStringLiteral("一枚目"));
    EXPECT_EQ(first.pixelColor(75, 50), QColor(Qt::black));
    EXPECT_EQ(first.pixelColor(75, 150), QColor(Qt::white));
    // Both signed the same way: the signature region is identical.
    EXPECT_EQ(first.copy(360, 300, 117, 49), second.copy(360, 300, 117, 49));
}

TEST_F(Canvas, refusesATakenTitleWithTheTitleInTheMessageAndWritesNothing)
{
    const auto paths = pic::paths(kServer, kTaro, QStringLiteral("春"));
    site.writeBytes(paths.adminCopy, "earlier");
    stroke({{10, 10}, {20, 20}});
    send(kTaro, QStringLiteral("春"));
    EXPECT_EQ(fakes.dialogs.texts(),
              QStringList{QStringLiteral("春……は既に存在しています。別のタイトルに変えて下さい。")});
    EXPECT_EQ(site.bytes(paths.adminCopy), QByteArray("earlier"));
    EXPECT_FALSE(QFile::exists(site.local(paths.recipientCopy)));
    EXPECT_EQ(onCanvas<QLabel>("sentDateLabel")->text(), QStringLiteral("送信日"));
}

TEST_F(Canvas, emptyTitleOrRecipientStopsWithItsMessage)
{
    CanvasScreen *form = canvas();
    auto *title = onCanvas<QLineEdit>("titleBox");
    auto *recipient = onCanvas<QLineEdit>("recipientBox");
    QTest::mouseClick(onCanvas("sendButton"), Qt::LeftButton);
    title->setText(QStringLiteral("春"));
    // Tabbing through the list chooses nobody.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    auto *list = onCanvas<QListWidget>("recipientList");
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_TRUE(recipient->text().isEmpty());
    QTest::mouseClick(onCanvas("sendButton"), Qt::LeftButton);
    EXPECT_EQ(fakes.dialogs.texts(), (QStringList{QStringLiteral("タイトルを入力してください"),
                                                  QStringLiteral("受信者が選ばれていません")}));
    EXPECT_FALSE(QFile::exists(site.local(pic::paths(kServer, kTaro, QStringLiteral("春")).adminCopy)));
    // Enter sends, as the default button does.
    recipient->setText(kTaro);
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_EQ(fakes.dialogs.last(), kSent);
}

TEST_F(Canvas, refusesTitlesThatCannotNameAFileAndWritesNothingAnywhere)
{
    const auto countFiles = [&] {
        int n = 0;
        QDirIterator it(site.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        for (; it.hasNext(); it.next())
            ++n;
        return n;
    };
    const int before = countFiles();
    for (const QString &title :
         {QStringLiteral("..\\..\\..\\登録者一覧"), QStringLiteral("../春"), QStringLiteral("a:b"),
          QStringLiteral("春."), QStringLiteral(" 春"), QStringLiteral("𠮷"), QStringLiteral("CON")}) {
        fakes.dialogs.shown.clear();
        send(kTaro, title);
        ASSERT_EQ(fakes.dialogs.shown.size(), 1) << title.toStdString();
        EXPECT_EQ(fakes.dialogs.last(), pic::titleProblem(title));
        EXPECT_TRUE(fakes.dialogs.last().contains(QStringLiteral("タイトル")));
    }
    // A recipient typed into the box that is no folder name.
    onCanvas<QLineEdit>("recipientBox")->setText(QStringLiteral("..\\管理用"));
    onCanvas<QLineEdit>("titleBox")->setText(QStringLiteral("春"));
    onCanvas("sendButton")->click();
    EXPECT_NE(fakes.dialogs.last(), kSent);
    EXPECT_EQ(countFiles(), before);
}

TEST_F(Canvas, aFailedSaveIsReportedAndLeavesNoReservation)
{
    QDir(site.local(userFolder(kHanako))).removeRecursively();
    send(kHanako, QStringLiteral("春"));
    EXPECT_EQ(fakes.dialogs.texts(),
              QStringList{QStringLiteral(
                  "イラストを送信できませんでした。佐藤花子さんのフォルダが見つかりません。")});
    EXPECT_FALSE(QFile::exists(site.local(pic::paths(kServer, kHanako, QStringLiteral("春")).adminCopy)));

    // The share gone altogether.
    fakes.dialogs.shown.clear();
    QDir(site.local(QStringLiteral("\\\\SERVER\\ぺるみな"))).removeRecursively();
    send(kTaro, QStringLiteral("夏"));
    ASSERT_EQ(fakes.dialogs.shown.size(), 1);
    EXPECT_TRUE(fakes.dialogs.last().startsWith(QStringLiteral("イラストを送信できませんでした。")));
    EXPECT_EQ(onCanvas<QLabel>("sentDateLabel")->text(), QStringLiteral("送信日"));
}

TEST_F(Canvas, theSenderFollowsTheLogin)
{
    canvas()->hide();
    app->signIn({QStringLiteral("hanako"), kTaro});
    canvas();
    EXPECT_EQ(onCanvas<QLineEdit>("senderBox")->text(), QStringLiteral("hanako"));
}

TEST_F(Canvas, screenButtonsGoWhereTheySay)
{
    struct Case
    {
        const char *button;
        std::function<QWidget *()> next;
    };
    const Case cases[] = {
        {"viewPicturesButton", [&] { return static_cast<QWidget *>(app->viewerScreen()); }},
        {"writeMailButton", [&] { return static_cast<QWidget *>(app->mailScreen()); }},
        {"readMailButton", [&] { return static_cast<QWidget *>(app->readerScreen()); }},
        {"backButton", [&] { return static_cast<QWidget *>(app->menuScreen()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        CanvasScreen *form = canvas();
        QTest::mouseClick(onCanvas(c.button), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(c.next()->isVisible());
        c.next()->hide();
    }
    EXPECT_FALSE(fakes.end.ended());
    QTest::mouseClick(onCanvas("quitButton"), Qt::LeftButton);
    EXPECT_EQ(fakes.launcher.started, QStringList{QStringLiteral("c:\\group\\InboxSweep.exe")});
    EXPECT_TRUE(fakes.end.ended());
}

TEST_F(Canvas, closingTheWindowStartsTheSweeperAndEnds)
{
    canvas()->close();
    EXPECT_EQ(fakes.launcher.started, QStringList{QStringLiteral("c:\\group\\InboxSweep.exe")});
    EXPECT_TRUE(fakes.end.ended());
}

} // namespace
