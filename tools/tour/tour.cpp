#include "tools/tour/tour.h"

#include "admin/ui/adminapp.h"
#include "admin/ui/adminloginscreen.h"
#include "admin/ui/consolescreen.h"
#include "admin/ui/logview.h"
#include "boards/daily/ui/dayboardscreen.h"
#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/monthly/ui/monthboardscreen.h"
#include "boards/skeleton/ui/boardprint.h"
#include "client/core/illustration.h"
#include "client/core/mail.h"
#include "client/core/newmail.h"
#include "client/core/registry.h"
#include "client/core/reply.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/viewerscreen.h"
#include "client/ui/welcomescreen.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>
#include <QtMath>

namespace tour {

namespace {

// Points around a circle, closed, for a freehand ring.
QList<QPoint> circle(QPoint centre, int radius, int points = 28)
{
    QList<QPoint> ring;
    for (int i = 0; i <= points; ++i) {
        const double angle = 2 * M_PI * i / points;
        ring.append(centre + QPoint(qRound(radius * std::cos(angle)), qRound(radius * std::sin(angle))));
    }
    return ring;
}

QList<QPoint> wave(int fromX, int toX, int y, int height, int step = 12)
{
    QList<QPoint> line;
    for (int x = fromX, i = 0; x <= toX; x += step, ++i)
        line.append({x, y + (i % 2 ? height : -height)});
    return line;
}

} // namespace

ClientRun::ClientRun(perumina::Clock &clock) : seams(QStringLiteral("PeruminaClient"), clock) {}
ClientRun::~ClientRun() = default;

Tour::Tour(Options options, QTextStream &out, QTextStream &err)
    : options_(std::move(options)), err_(err), camera_(options_.pictures, out), clock_(options_.start)
{
}

Tour::~Tour() = default;

bool Tour::run()
{
    const std::optional<QString> server = perumina::ReadServerName();
    if (!server || server->isEmpty()) {
        err_ << QStringLiteral("サイト %1 のロケータにサーバー名がありません。先に PeruminaSetup "
                               "でサイトを作って下さい。")
                    .arg(perumina::siteRoot())
             << Qt::endl;
        return false;
    }
    server_ = *server;
    camera_.clearOldPictures();
    bool ok = part(QStringLiteral("クラスのコンピュータ（PeruminaClient）"), &Tour::classroom);
    ok = part(QStringLiteral("職員室のコンピュータ（PeruminaAdmin）"), &Tour::administrator) && ok;
    ok = part(QStringLiteral("返信と新しいメール（PeruminaClient）"), &Tour::answers) && ok;
    return ok;
}

bool Tour::part(const QString &name, void (Tour::*steps)())
{
    step_.clear();
    try {
        (this->*steps)();
        return true;
    } catch (const StepFailed &failure) {
        err_ << QStringLiteral("失敗: %1、手順「%2」: %3").arg(name, step_, failure.what) << Qt::endl;
        return false;
    }
}

void Tour::expectMessages(ProgramSeams &seams, const QStringList &expected, const QString &picture)
{
    const QList<perumina::RecordingDialogs::Shown> shown = seams.dialogs.shown.mid(seams.messagesSeen);
    seams.messagesSeen = seams.dialogs.shown.size();
    QStringList texts;
    for (const perumina::RecordingDialogs::Shown &message : shown) {
        texts.append(message.text);
        if (picture.isEmpty())
            continue;
        QWidget *box = messageBoxFor(message, seams.dialogs.program());
        camera_.take(box, picture + QStringLiteral("-message"));
        box->close();
    }
    if (texts != expected) {
        const QString got = texts.isEmpty() ? QStringLiteral("（なし）") : texts.join(QStringLiteral("」「"));
        const QString wanted =
            expected.isEmpty() ? QStringLiteral("（なし）") : expected.join(QStringLiteral("」「"));
        throw StepFailed{QStringLiteral("%1: メッセージ「%2」が出ました。期待したのは「%3」です。")
                             .arg(seams.dialogs.program(), got, wanted)};
    }
}

// The tour's pupils get names nobody on the site has taken yet, so that the tour also runs again on a
// site it has visited before.
Pupil Tour::freePupil(const QString &userName, const QString &fullName, const QString &password) const
{
    const client::RegistryLists lists = client::loadRegistryLists(server_);
    if (!lists.complete)
        throw StepFailed{QStringLiteral("登録者のファイルを読めません。")};
    const QString userNames = client::joinedWithLineEnds(lists.userNames);
    const QString fullNames = client::joinedWithLineEnds(lists.fullNames);
    for (int n = 1; n < 1000; ++n) {
        const QString suffix = n == 1 ? QString() : QString::number(n);
        const Pupil pupil{userName + suffix, fullName + suffix, password};
        if (!client::checkTaken({pupil.userName, pupil.fullName, pupil.password}, userNames, fullNames))
            return pupil;
    }
    throw StepFailed{QStringLiteral("「%1」に使える名前が見つかりません。").arg(userName)};
}

std::unique_ptr<ClientRun> Tour::startClient(bool picture)
{
    auto run = std::make_unique<ClientRun>(clock_);
    run->app = std::make_unique<client::ClientApp>(run->seams.seams());
    run->app->start();
    expectMessages(run->seams, {}, QStringLiteral("welcome"));
    if (run->app->ended())
        throw StepFailed{QStringLiteral("クライアントが起動してすぐ終了しました。")};
    if (run->seams.launcher.started != QStringList{perumina::local::kSweeper})
        throw StepFailed{QStringLiteral("起動時にスイーパーが起動されませんでした。")};
    client::WelcomeScreen *welcome = run->app->welcomeScreen();
    expectShown(welcome, QStringLiteral("ようこそ画面（WelcomeScreen）"));
    if (picture)
        camera_.take(welcome, QStringLiteral("welcome"));
    return run;
}

void Tour::registerPupil(const Pupil &pupil, bool pictures)
{
    step_ = QStringLiteral("%1 の登録").arg(pupil.userName);
    std::unique_ptr<ClientRun> run = startClient(pictures);
    client::ClientApp &app = *run->app;
    click(app.welcomeScreen(), QStringLiteral("newUserButton"));
    expectMessages(run->seams, {}, QStringLiteral("registration"));
    client::RegistrationScreen *registration = app.registrationScreen();
    expectShown(registration, QStringLiteral("登録画面（RegistrationScreen）"));
    if (pictures)
        camera_.take(registration, QStringLiteral("registered-users"));
    auto *tabs = control<QTabWidget>(registration, QStringLiteral("registrationTabs"));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(0).center());
    if (tabs->currentIndex() != 0)
        throw StepFailed{QStringLiteral("登録画面のタブ「新しく登録する」を開けませんでした。")};
    type(registration, QStringLiteral("userNameBox"), pupil.userName);
    type(registration, QStringLiteral("fullNameBox"), pupil.fullName);
    type(registration, QStringLiteral("passwordBox"), pupil.password);
    if (pictures)
        camera_.take(registration, QStringLiteral("registration"));
    click(registration, QStringLiteral("registerButton"));
    expectMessages(run->seams, {client::kRegisteredMessage},
                   pictures ? QStringLiteral("registration") : QString());
    if (!app.ended())
        throw StepFailed{QStringLiteral("登録の後、クライアントが終了しませんでした。")};
}

std::unique_ptr<ClientRun> Tour::logIn(const Pupil &pupil, bool pictures, const QStringList &messages)
{
    step_ = QStringLiteral("%1 のログイン").arg(pupil.userName);
    std::unique_ptr<ClientRun> run = startClient(false);
    client::ClientApp &app = *run->app;
    click(app.welcomeScreen(), QStringLiteral("registeredUserButton"));
    expectMessages(run->seams, {}, QStringLiteral("login"));
    client::LoginScreen *login = app.loginScreen();
    expectShown(login, QStringLiteral("ログイン画面（LoginScreen）"));
    type(login, QStringLiteral("userNameBox"), pupil.userName);
    type(login, QStringLiteral("passwordBox"), pupil.password);
    if (pictures)
        camera_.take(login, QStringLiteral("login"));
    click(login, QStringLiteral("okButton"));
    expectMessages(run->seams, messages, messages.isEmpty() ? QStringLiteral("login") : QString());
    if (app.ended())
        throw StepFailed{QStringLiteral("%1 のログインでクライアントが終了しました。").arg(pupil.userName)};
    expectHidden(login, QStringLiteral("ログイン画面（LoginScreen）"));
    expectShown(app.menuScreen(), QStringLiteral("メニュー（MenuScreen）"));
    if (app.signedIn().fullName != pupil.fullName)
        throw StepFailed{QStringLiteral("ログインした人の本名が「%1」ではありません。").arg(pupil.fullName)};
    if (pictures)
        camera_.take(app.menuScreen(), QStringLiteral("menu"));
    return run;
}

void Tour::choose(ClientRun &run, const QString &option)
{
    step_ = QStringLiteral("メニューの %1").arg(option);
    client::MenuScreen *menu = run.app->menuScreen();
    expectShown(menu, QStringLiteral("メニュー（MenuScreen）"));
    click(menu, option);
    click(menu, QStringLiteral("nextButton"));
    expectMessages(run.seams, {}, QStringLiteral("menu"));
}

void Tour::drawAndSend(ClientRun &run, const Pupil &to)
{
    step_ = QStringLiteral("イラストを描いて送る");
    client::CanvasScreen *canvas = run.app->canvasScreen();
    expectShown(canvas, QStringLiteral("イラスト画面（CanvasScreen）"));
    if (control<QLineEdit>(canvas, QStringLiteral("senderBox"))->text() != sender_.userName)
        throw StepFailed{
            QStringLiteral("イラスト画面の送信者が「%1」ではありません。").arg(sender_.userName)};
    QWidget *surface = control(canvas, QStringLiteral("drawingSurface"));
    const QPoint origin = surface->contentsRect().topLeft();
    const auto draw = [&](const char *colour, const char *width, QList<QPoint> points) {
        click(canvas, QString::fromLatin1(colour));
        click(canvas, QString::fromLatin1(width));
        for (QPoint &p : points)
            p += origin;
        stroke(surface, points);
    };
    // A house in the sun, on a meadow, with a flower.
    draw("colourButton16", "widthOption5", wave(8, 468, 305, 4));
    draw("colourButton17", "widthOption4", wave(14, 462, 322, 3));
    draw("colourButton10", "widthOption3", {{115, 182}, {115, 298}, {245, 298}, {245, 182}, {115, 182}});
    draw("colourButton6", "widthOption4", {{98, 186}, {180, 112}, {262, 186}, {98, 186}});
    draw("colourButton4", "widthOption3", {{160, 298}, {160, 238}, {192, 238}, {192, 298}});
    draw("colourButton22", "widthOption2", {{208, 204}, {236, 204}, {236, 230}, {208, 230}, {208, 204}});
    draw("colourButton22", "widthOption2", {{222, 204}, {222, 230}});
    draw("colourButton22", "widthOption2", {{208, 217}, {236, 217}});
    draw("colourButton9", "widthOption5", circle({392, 72}, 30));
    for (int i = 0; i < 12; ++i) {
        const double angle = 2 * M_PI * i / 12;
        const QPoint from(392 + qRound(40 * std::cos(angle)), 72 + qRound(40 * std::sin(angle)));
        const QPoint to(392 + qRound(56 * std::cos(angle)), 72 + qRound(56 * std::sin(angle)));
        draw("colourButton12", "widthOption2", {from, to});
    }
    draw("colourButton17", "widthOption3", {{330, 296}, {330, 262}});
    for (int i = 0; i < 5; ++i) {
        const double angle = 2 * M_PI * i / 5 - M_PI / 2;
        draw("colourButton25", "widthOption4",
             circle({330 + qRound(13 * std::cos(angle)), 250 + qRound(13 * std::sin(angle))}, 7, 14));
    }
    draw("colourButton12", "widthOption5", {{330, 250}, {331, 250}});
    draw("colourButton3", "widthOption3",
         {{40, 70}, {60, 52}, {90, 50}, {110, 62}, {130, 58}, {150, 74}, {40, 74}});

    pick(control<QListWidget>(canvas, QStringLiteral("recipientList")), to.fullName);
    if (control<QLineEdit>(canvas, QStringLiteral("recipientBox"))->text() != to.fullName)
        throw StepFailed{QStringLiteral("イラストの受信者に「%1」が入りませんでした。").arg(to.fullName)};
    type(canvas, QStringLiteral("titleBox"), pictureTitle_);
    camera_.take(canvas, QStringLiteral("canvas"));
    click(canvas, QStringLiteral("sendButton"));
    expectMessages(run.seams, {client::illustration::kSentMessage}, QStringLiteral("canvas"));
    const auto stored = client::illustration::paths(server_, to.fullName, pictureTitle_);
    for (const QString &copy : {stored.recipientCopy, stored.adminCopy}) {
        if (!QFileInfo::exists(copy))
            throw StepFailed{
                QStringLiteral("送ったイラスト %1 がありません。").arg(perumina::systemName(copy))};
    }
}

void Tour::sendMail(ClientRun &run, const Pupil &to)
{
    client::MailScreen *compose = run.app->mailScreen();
    expectShown(compose, QStringLiteral("メール送信画面（MailScreen）"));
    if (control<QLineEdit>(compose, QStringLiteral("senderBox"))->text() != sender_.userName)
        throw StepFailed{
            QStringLiteral("メール送信画面の送信者が「%1」ではありません。").arg(sender_.userName)};
    pick(control<QListWidget>(compose, QStringLiteral("recipientList")), to.fullName);
    if (control<QLineEdit>(compose, QStringLiteral("recipientBox"))->text() != to.fullName)
        throw StepFailed{QStringLiteral("メールの受信者に「%1」が入りませんでした。").arg(to.fullName)};
    type(compose, QStringLiteral("titleBox"), mailTitle_);
    type(compose, QStringLiteral("bodyBox"), mailBody_);
    camera_.take(compose, QStringLiteral("mail"));
    click(compose, QStringLiteral("sendButton"));
    expectMessages(run.seams, {client::deliveryMessage(client::Delivery{}, to.fullName)},
                   QStringLiteral("mail"));
}

void Tour::readMail(ClientRun &run, const Pupil &from)
{
    client::ReaderScreen *reader = run.app->readerScreen();
    expectShown(reader, QStringLiteral("メールを読む画面（ReaderScreen）"));
    const QString sender = control<QLineEdit>(reader, QStringLiteral("senderBox"))->text();
    const QString title = control<QLineEdit>(reader, QStringLiteral("titleBox"))->text();
    const QString body = control<QPlainTextEdit>(reader, QStringLiteral("bodyBox"))->toPlainText();
    if (sender != from.userName || title != mailTitle_ || body != mailBody_)
        throw StepFailed{
            QStringLiteral("届いたメールが違います（送信者「%1」、件名「%2」）。").arg(sender, title)};
    camera_.take(reader, QStringLiteral("mail-read"));
}

void Tour::viewPicture(ClientRun &run)
{
    step_ = QStringLiteral("イラストを見る");
    client::ViewerScreen *viewer = run.app->viewerScreen();
    expectShown(viewer, QStringLiteral("イラストを見る画面（ViewerScreen）"));
    pick(control<QListWidget>(viewer, QStringLiteral("pictureList")),
         pictureTitle_ + perumina::site::kPictureSuffix, true);
    // The bar runs from the double-click until the picture is shown or reported.
    auto *loading = control<QProgressBar>(viewer, QStringLiteral("loadingBar"));
    if (!waitFor([loading] { return loading->isHidden(); }))
        throw StepFailed{QStringLiteral("イラスト「%1」の読み込みが終わりません。").arg(pictureTitle_)};
    expectMessages(run.seams, {}, QStringLiteral("pictures"));
    const QPixmap shown = control<QLabel>(viewer, QStringLiteral("pictureImage"))->pixmap();
    if (shown.isNull())
        throw StepFailed{QStringLiteral("イラスト「%1」が表示されませんでした。").arg(pictureTitle_)};
    camera_.take(viewer, QStringLiteral("pictures"));
}

void Tour::openBoard(const QString &program, const BoardMaker &make, const QString &picture)
{
    step_ = QStringLiteral("%1 を開く").arg(program);
    ProgramSeams seams(program, clock_);
    std::unique_ptr<boards::BoardScreen> board = make(seams.seams());
    board->start();
    // Only the first board's waiting message is photographed; the others show the same box.
    const bool first = !boardMessageTaken_;
    boardMessageTaken_ = true;
    expectMessages(seams, {boards::kPleaseWait}, first ? picture : QString());
    if (board->session().ended())
        throw StepFailed{QStringLiteral("%1 が起動してすぐ終了しました。").arg(program)};
    expectShown(board.get(), program);
    const QString taken = camera_.take(board.get(), picture);
    // The page its 印刷 button prints, saved beside its picture as the print dialog saves a PDF.
    control(board.get(), QStringLiteral("printButton"));
    auto *printable = dynamic_cast<boards::PrintableBoard *>(board.get());
    if (!printable)
        throw StepFailed{QStringLiteral("%1 は印刷できません。").arg(program)};
    camera_.print(QFileInfo(taken).completeBaseName(), [printable](QPagedPaintDevice &device) {
        return boards::renderSheet(printable->printSheet(), device);
    });
    click(board.get(), QStringLiteral("closeButton"));
    expectMessages(seams, {boards::kPleaseWait}, QString());
    if (!board->session().ended())
        throw StepFailed{QStringLiteral("%1 が閉じるボタンで終了しませんでした。").arg(program)};
}

// A board started by the menu or the console is opened here in the same way its program opens it.
void Tour::startedBoard(const QString &program)
{
    using namespace boards;
    const bool admin = program.endsWith(QStringLiteral("S.exe"));
    const QString name = program.chopped(4);
    if (name.startsWith(QStringLiteral("DayBoard"))) {
        const auto variant = admin ? daily::Variant::Admin : daily::Variant::Classroom;
        openBoard(
            name,
            [variant](perumina::Seams s) { return std::make_unique<daily::DayBoardScreen>(variant, s); },
            admin ? QStringLiteral("day-board-admin") : QStringLiteral("day-board"));
    } else if (name.startsWith(QStringLiteral("LunchBoard"))) {
        const auto variant = admin ? lunch::Variant::Admin : lunch::Variant::Classroom;
        openBoard(
            name,
            [variant](perumina::Seams s) { return std::make_unique<lunch::LunchBoardScreen>(variant, s); },
            admin ? QStringLiteral("lunch-board-admin") : QStringLiteral("lunch-board"));
    } else if (name.startsWith(QStringLiteral("MonthBoard"))) {
        const auto variant = admin ? monthly::Variant::Admin : monthly::Variant::Classroom;
        openBoard(
            name,
            [variant](perumina::Seams s) { return std::make_unique<monthly::MonthBoardScreen>(variant, s); },
            admin ? QStringLiteral("month-board-admin") : QStringLiteral("month-board"));
    } else {
        throw StepFailed{QStringLiteral("%1 は掲示板のプログラムではありません。").arg(program)};
    }
}

void Tour::classroomBoards(ClientRun &run)
{
    const struct
    {
        const char *option;
        QString program;
    } boards[] = {{"dayBoardOption", QStringLiteral("DayBoardC.exe")},
                  {"lunchBoardOption", QStringLiteral("LunchBoardC.exe")},
                  {"monthBoardOption", QStringLiteral("MonthBoardC.exe")}};
    for (const auto &board : boards) {
        choose(run, QString::fromLatin1(board.option));
        if (run.seams.launcher.started.value(run.seams.launcher.started.size() - 1) != board.program)
            throw StepFailed{QStringLiteral("メニューから %1 が起動されませんでした。").arg(board.program)};
        expectShown(run.app->menuScreen(), QStringLiteral("メニュー（MenuScreen）"));
        startedBoard(board.program);
    }
}

void Tour::classroom()
{
    recipient_ = freePupil(QStringLiteral("たける"), QStringLiteral("秋山たける"), QStringLiteral("takeru7"));
    registerPupil(recipient_, false);
    sender_ = freePupil(QStringLiteral("さくら"), QStringLiteral("春野さくら"), QStringLiteral("sakura7"));
    registerPupil(sender_, true);
    pictureTitle_ = QStringLiteral("わたしの家");
    mailTitle_ = QStringLiteral("遠足のこと");
    mailBody_ =
        QStringLiteral("あしたの遠足、たのしみだね。\nおべんとうは何にする？\nPS: 雨なら体育館だって。");

    // The sender, whose inbox is still empty, sends a mail and a picture, then ends the client.
    {
        std::unique_ptr<ClientRun> run = logIn(sender_, true, {client::inboxLoadMessage()});
        choose(*run, QStringLiteral("sendMailOption"));
        sendMail(*run, recipient_);
        click(run->app->mailScreen(), QStringLiteral("drawButton"));
        expectMessages(run->seams, {}, QStringLiteral("mail"));
        drawAndSend(*run, recipient_);
        click(run->app->canvasScreen(), QStringLiteral("quitButton"));
        expectMessages(run->seams, {}, QStringLiteral("canvas"));
        if (!run->app->ended())
            throw StepFailed{QStringLiteral("イラスト画面の「終了」でクライアントが終了しませんでした。")};
    }
    // The recipient starts the client on another computer, reads the mail, looks at the picture and
    // opens the boards.
    {
        std::unique_ptr<ClientRun> run = logIn(recipient_, false);
        choose(*run, QStringLiteral("readMailOption"));
        readMail(*run, sender_);
        click(run->app->readerScreen(), QStringLiteral("viewPicturesButton"));
        expectMessages(run->seams, {}, QStringLiteral("mail-read"));
        viewPicture(*run);
        click(run->app->viewerScreen(), QStringLiteral("backButton"));
        expectMessages(run->seams, {}, QStringLiteral("pictures"));
        classroomBoards(*run);
        click(run->app->menuScreen(), QStringLiteral("quitButton"));
        expectMessages(run->seams, {}, QStringLiteral("menu"));
        if (!run->app->ended())
            throw StepFailed{QStringLiteral("メニューの「終了」でクライアントが終了しませんでした。")};
    }
    classroomDone_ = true;
}

void Tour::answers()
{
    if (!classroomDone_)
        throw StepFailed{QStringLiteral("生徒のメールが届いていないため、返信できません。")};
    const QString answerTitle = client::replyTitle(mailTitle_);
    const auto answer = [&](const Pupil &who, const Pupil &to, const QString &body, const QString &picture) {
        step_ = QStringLiteral("%1 の返信").arg(who.userName);
        std::unique_ptr<ClientRun> run = logIn(who, false);
        choose(*run, QStringLiteral("readMailOption"));
        client::ReaderScreen *reader = run->app->readerScreen();
        expectShown(reader, QStringLiteral("メールを読む画面（ReaderScreen）"));
        click(reader, QStringLiteral("replyButton"));
        expectMessages(run->seams, {}, QStringLiteral("mail-read"));
        client::MailScreen *compose = run->app->mailScreen();
        expectShown(compose, QStringLiteral("メール送信画面（MailScreen）"));
        if (control<QLineEdit>(compose, QStringLiteral("recipientBox"))->text() != to.fullName ||
            control<QLineEdit>(compose, QStringLiteral("titleBox"))->text() != answerTitle ||
            compose->focusWidget() != control(compose, QStringLiteral("bodyBox")))
            throw StepFailed{QStringLiteral("返信の宛先「%1」、件名「%2」、本文への入力にならなかった。")
                                 .arg(to.fullName, answerTitle)};
        type(compose, QStringLiteral("bodyBox"), body);
        if (!picture.isEmpty())
            camera_.take(compose, picture);
        click(compose, QStringLiteral("sendButton"));
        expectMessages(run->seams, {client::deliveryMessage(client::Delivery{}, to.fullName)}, QString());
        click(compose, QStringLiteral("backButton"));
        click(run->app->menuScreen(), QStringLiteral("quitButton"));
        expectMessages(run->seams, {}, QStringLiteral("menu"));
    };
    answer(recipient_, sender_, QStringLiteral("おにぎりにするよ！"), QStringLiteral("mail-reply"));
    // A mail sent within the second the recipient last read would count as read: stamps go no finer.
    const std::optional<QDateTime> read = client::readMailMark(server_, recipient_.fullName);
    if (read && !waitFor([&read] { return QDateTime::currentDateTime() >= read->addSecs(1); }))
        throw StepFailed{QStringLiteral("時計が進みません。")};
    answer(sender_, recipient_, QStringLiteral("わたしもおにぎり。"), QString());

    step_ = QStringLiteral("%1 の新しいメール").arg(recipient_.userName);
    std::unique_ptr<ClientRun> run = logIn(recipient_, false);
    client::MenuScreen *menu = run->app->menuScreen();
    auto *count = control<QLabel>(menu, QStringLiteral("newMailLabel"));
    if (!count->isVisible() || count->text() != client::newMailMessage(1))
        throw StepFailed{QStringLiteral("メニューに「%1」が出ていません。").arg(client::newMailMessage(1))};
    camera_.take(menu, QStringLiteral("menu-new-mail"));
    choose(*run, QStringLiteral("readMailOption"));
    client::ReaderScreen *reader = run->app->readerScreen();
    expectShown(reader, QStringLiteral("メールを読む画面（ReaderScreen）"));
    if (!control<QLabel>(reader, QStringLiteral("newMarkLabel"))->isVisible())
        throw StepFailed{QStringLiteral("新しいメールに「新着」の印がありません。")};
    camera_.take(reader, QStringLiteral("mail-new"));
    click(reader, QStringLiteral("quitButton"));
    expectMessages(run->seams, {}, QStringLiteral("mail-new"));
}

void Tour::administrator()
{
    step_ = QStringLiteral("管理者のログイン");
    ProgramSeams seams(QStringLiteral("PeruminaAdmin"), clock_);
    admin::AdminApp app(seams.seams());
    app.start();
    expectMessages(seams, {}, QStringLiteral("admin-login"));
    if (app.ended())
        throw StepFailed{QStringLiteral("管理プログラムが起動してすぐ終了しました。")};
    admin::AdminLoginScreen *login = app.adminLoginScreen();
    expectShown(login, QStringLiteral("管理者ログイン（AdminLoginScreen）"));
    type(login, QStringLiteral("idBox"), options_.adminId);
    type(login, QStringLiteral("passwordBox"), options_.adminPassword);
    camera_.take(login, QStringLiteral("admin-login"));
    click(login, QStringLiteral("okButton"));
    expectMessages(seams, {}, QStringLiteral("admin-login"));
    expectShown(app.consoleScreen(), QStringLiteral("管理画面（ConsoleScreen）"));
    admin::ConsoleScreen *console = app.consoleScreen();
    step_ = QStringLiteral("管理画面");

    // What the pupils wrote, when their part went through: the picture from the administration copies
    // and the mail in the log.
    if (classroomDone_) {
        pickEnding(control<QListWidget>(console, QStringLiteral("folderList")), recipient_.fullName, true);
        pick(control<QListWidget>(console, QStringLiteral("pictureList")),
             pictureTitle_ + perumina::site::kPictureSuffix, true);
        expectMessages(seams, {}, QStringLiteral("admin-console"));
        if (console->shownPicture() != pictureTitle_ + perumina::site::kPictureSuffix)
            throw StepFailed{
                QStringLiteral("管理画面にイラスト「%1」が表示されませんでした。").arg(pictureTitle_)};
        const QString log = control<admin::LogView>(console, QStringLiteral("mailLogView"))->toPlainText();
        const QString record =
            QStringLiteral("\"%1\",\"%2\",\"%3\"").arg(sender_.userName, recipient_.fullName, mailTitle_);
        if (!log.contains(record))
            throw StepFailed{
                QStringLiteral("管理画面のメール一覧にメール「%1」がありません。").arg(mailTitle_)};
    }
    camera_.take(console, QStringLiteral("admin-console"));

    const struct
    {
        const char *button;
        QString program;
    } boards[] = {{"dayBoardButton", QStringLiteral("DayBoardS.exe")},
                  {"lunchBoardButton", QStringLiteral("LunchBoardS.exe")},
                  {"monthBoardButton", QStringLiteral("MonthBoardS.exe")}};
    for (const auto &board : boards) {
        click(console, QString::fromLatin1(board.button));
        expectMessages(seams, {}, QStringLiteral("admin-console"));
        if (seams.launcher.started.value(seams.launcher.started.size() - 1) != board.program)
            throw StepFailed{QStringLiteral("管理画面から %1 が起動されませんでした。").arg(board.program)};
        startedBoard(board.program);
        expectShown(console, QStringLiteral("管理画面（ConsoleScreen）"));
    }

    // The log read again and searched by the mail's subject: only records that hold it stay in view.
    step_ = QStringLiteral("管理画面の更新と検索");
    click(console, QStringLiteral("refreshButton"));
    type(console, QStringLiteral("searchBox"), mailTitle_.isEmpty() ? QStringLiteral("遠足") : mailTitle_);
    expectMessages(seams, {}, QStringLiteral("admin-console-search"));
    const QString found = control<QLabel>(console, QStringLiteral("searchCountLabel"))->text();
    if (classroomDone_ && (found.isEmpty() || found.startsWith(u'0')))
        throw StepFailed{
            QStringLiteral("管理画面の検索でメール「%1」が見つかりませんでした。").arg(mailTitle_)};
    camera_.take(console, QStringLiteral("admin-console-search"));
    click(console, QStringLiteral("quitButton"));
    expectMessages(seams, {}, QStringLiteral("admin-console"));
    if (!app.ended())
        throw StepFailed{QStringLiteral("管理画面の「終了」で管理プログラムが終了しませんでした。")};
}

} // namespace tour
