#include "admin/ui/consolescreen.h"

#include "admin/core/console.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/adminloginscreen.h"
#include "admin/ui/logview.h"
#include "client/core/registryadmin.h"
#include "shared/picture.h"
#include "shared/site.h"
#include "shared/ui/formkit.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace admin {

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

ConsoleScreen::ConsoleScreen(AdminApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    using namespace perumina::kit;
    setUpForm(this, "ConsoleScreen", QStringLiteral("ぺる・み・な（管理用）"));
    setFixedSize(860, 620);
    headerFrame = make<QFrame>(this, "headerFrame", {0, 0, 860, 100});
    headerFrame->setStyleSheet(QStringLiteral("QFrame#headerFrame { background: black; }"));
    introCaption = label(headerFrame, "introCaption", QStringLiteral("ここでは以下の作業が行えます。"),
                         {16, 8, 400, 24});
    registryTaskCaption =
        label(headerFrame, "registryTaskCaption",
              QStringLiteral("１.　グループウェア「　　　　　　　　　　　」の登録者情報と内容の管理"),
              {32, 38, 620, 24});
    const QString pieces[] = {QStringLiteral("ぺる"), QStringLiteral("・"), QStringLiteral("み"),
                              QStringLiteral("・"), QStringLiteral("な")};
    for (std::size_t i = 0; i < namePieces.size(); ++i)
        namePieces[i] = label(headerFrame, QStringLiteral("namePiece%1").arg(i + 1), pieces[i]);
    boardsTaskCaption = label(headerFrame, "boardsTaskCaption", QStringLiteral("２.　行事予定の編集と確認"),
                              {32, 66, 400, 24});
    const std::pair<QLabel *, QColor> onBlack[] = {
        {introCaption, Qt::white},   {registryTaskCaption, Qt::yellow}, {namePieces[0], Qt::red},
        {namePieces[1], Qt::yellow}, {namePieces[2], Qt::green},        {namePieces[3], Qt::yellow},
        {namePieces[4], 0x66ccff},   {boardsTaskCaption, Qt::yellow}};
    for (const auto &[piece, colour] : onBlack)
        setColours(piece, Qt::black, colour);
    backButton = button(headerFrame, "backButton", QStringLiteral("戻る"), {660, 30, 85, 36});
    quitButton = button(headerFrame, "quitButton", QStringLiteral("終了"), {756, 30, 85, 36});
    placeNamePieces();

    mailCaption = label(this, "mailCaption", QStringLiteral("メールの内容"), {12, 108, 200, 22});
    dateCaption = label(this, "dateCaption", QStringLiteral("送信日"), {16, 132, 80, 20});
    timeCaption = label(this, "timeCaption", QStringLiteral("時刻"), {96, 132, 60, 20});
    senderCaption = label(this, "senderCaption", QStringLiteral("送信者"), {160, 132, 70, 20});
    recipientCaption = label(this, "recipientCaption", QStringLiteral("受信者"), {232, 132, 70, 20});
    subjectCaption = label(this, "subjectCaption", QStringLiteral("件名"), {306, 132, 70, 20});
    bodyCaption = label(this, "bodyCaption", QStringLiteral("本文"), {380, 132, 70, 20});
    mailLogView = make<LogView>(this, "mailLogView", {12, 154, 520, 230});
    usersCaption = label(this, "usersCaption", QStringLiteral("登録者情報"), {548, 108, 200, 22});
    userNameCaption = label(this, "userNameCaption", QStringLiteral("ユーザー名"), {552, 132, 90, 20});
    fullNameCaption = label(this, "fullNameCaption", QStringLiteral("本名"), {648, 132, 80, 20});
    passwordCaption = label(this, "passwordCaption", QStringLiteral("パスワード"), {730, 132, 100, 20});
    setTextColour(passwordCaption, Qt::red);
    userList = list(this, "userList", {548, 154, 300, 230});
    picturesCaption = label(this, "picturesCaption", QStringLiteral("イラスト内容"), {12, 394, 200, 22});
    folderList = list(this, "folderList", {12, 418, 200, 190});
    pictureList = list(this, "pictureList", {220, 418, 190, 190});
    pictureLabel = make<QLabel>(this, "pictureLabel", {418, 418, 240, 190});
    pictureLabel->setFrameShape(QFrame::Box);
    pictureLabel->setScaledContents(true);
    dayBoardButton =
        button(this, "dayBoardButton", QStringLiteral("今日の予定を確認・変更する"), {668, 418, 180, 52});
    lunchBoardButton =
        button(this, "lunchBoardButton", QStringLiteral("給食予定を確認・変更する"), {668, 487, 180, 52});
    monthBoardButton =
        button(this, "monthBoardButton", QStringLiteral("月別行事を確認・変更する"), {668, 556, 180, 52});
    refreshButton =
        button(headerFrame, "refreshButton", QStringLiteral("最新の情報に更新"), {660, 70, 181, 26});
    searchBox = textBox(this, "searchBox", {120, 106, 240, 24});
    searchBox->setPlaceholderText(QStringLiteral("送信者・受信者・件名・本文を検索"));
    searchBox->setClearButtonEnabled(true);
    searchCountLabel = label(this, "searchCountLabel", QString(), {366, 108, 166, 22});
    resetPasswordButton =
        button(this, "resetPasswordButton", QStringLiteral("パスワードを変更"), {548, 388, 146, 26});
    retireButton = button(this, "retireButton", QStringLiteral("退会"), {702, 388, 146, 26});
    // Several people leave together at the end of a year.
    userList->setSelectionMode(QAbstractItemView::ExtendedSelection);

    connect(backButton, &QPushButton::clicked, this, &ConsoleScreen::backToLogin);
    connect(quitButton, &QPushButton::clicked, this, &ConsoleScreen::quit);
    connect(dayBoardButton, &QPushButton::clicked, this, &ConsoleScreen::openDayBoard);
    connect(lunchBoardButton, &QPushButton::clicked, this, &ConsoleScreen::openLunchBoard);
    connect(monthBoardButton, &QPushButton::clicked, this, &ConsoleScreen::openMonthBoard);
    connect(refreshButton, &QPushButton::clicked, this, &ConsoleScreen::refresh);
    connect(searchBox, &QLineEdit::textChanged, this, &ConsoleScreen::search);
    connect(resetPasswordButton, &QPushButton::clicked, this, &ConsoleScreen::resetPassword);
    connect(retireButton, &QPushButton::clicked, this, &ConsoleScreen::retire);
    connect(folderList, &QListWidget::itemActivated, this, &ConsoleScreen::openChosenFolder);
    connect(pictureList, &QListWidget::itemActivated, this, &ConsoleScreen::showChosenPicture);

    load();
}

// The five coloured pieces stand centred in the eleven full-width spaces between registryTaskCaption's
// brackets.
void ConsoleScreen::placeNamePieces()
{
    const QFontMetrics metrics(registryTaskCaption->font());
    const int gapStart =
        registryTaskCaption->x() + metrics.horizontalAdvance(QStringLiteral("１.　グループウェア「"));
    const int gapWidth = metrics.horizontalAdvance(QString(11, QChar(0x3000)));
    int total = 0;
    for (QLabel *piece : namePieces)
        total += metrics.horizontalAdvance(piece->text());
    int x = gapStart + (gapWidth - total) / 2;
    for (QLabel *piece : namePieces) {
        const int width = metrics.horizontalAdvance(piece->text());
        piece->setGeometry(x, registryTaskCaption->y(), width, registryTaskCaption->height());
        piece->setFont(registryTaskCaption->font());
        x += width;
    }
}

void ConsoleScreen::load()
{
    rootPath_ = perumina::site::adminFolder(app_.serverName());
    readAll();
}

void ConsoleScreen::readAll()
{
    const QString server = app_.serverName();
    LogText log = loadLogText(server);
    const QString logProblem = log.problem;
    mailLogView->setLog(std::make_shared<MessageLog>(std::move(log)));
    search();
    QString usersProblem;
    userList->clear();
    userList->addItems(readUserEntries(server, &usersProblem));
    // Missing files leave their displays empty without a word; one refused or cut is named.
    for (const QString &problem : {logProblem, usersProblem})
        if (!problem.isEmpty())
            app_.dialogs().message(problem);
    openFolder(rootPath_);
}

// The folder in view stays open when it is still there.
void ConsoleScreen::refresh()
{
    const QString folder = dirPath_;
    readAll();
    if (folder != rootPath_)
        openFolder(folder);
}

void ConsoleScreen::search()
{
    const qsizetype found = mailLogView->setFilter(searchBox->text());
    const qsizetype all = mailLogView->log().recordCount();
    searchCountLabel->setText(searchBox->text().isEmpty()
                                  ? QStringLiteral("全%1件").arg(all)
                                  : QStringLiteral("%1件（全%2件）").arg(found).arg(all));
}

QList<QStringList> ConsoleScreen::chosenPeople() const
{
    QList<QStringList> people;
    for (int i = 0; i < userList->count(); ++i) {
        const QStringList parts = userList->item(i)->text().split(u',');
        if (userList->item(i)->isSelected() && parts.size() == 3)
            people.append(parts);
    }
    return people;
}

bool ConsoleScreen::mayChangeRegistry()
{
    const QString server = app_.serverName();
    for (const perumina::Status &status :
         {client::checkStaffRights(server), client::checkAdministrationRecord(server)}) {
        if (!status) {
            app_.dialogs().message(status.error);
            return false;
        }
    }
    return true;
}

void ConsoleScreen::record(const QString &what)
{
    const perumina::Status recorded = client::appendAdministrationRecord(
        app_.serverName(), app_.seams().clock.now(), app_.administratorId(), what);
    if (!recorded)
        app_.dialogs().message(QStringLiteral("管理作業記録に書き込めませんでした。\n") + recorded.error);
}

void ConsoleScreen::resetPassword()
{
    const QList<QStringList> chosen = chosenPeople();
    if (chosen.size() != 1) {
        app_.dialogs().message(QStringLiteral("パスワードを変更する人を、登録者情報から１人選んで下さい。"));
        return;
    }
    const QString userName = chosen.first()[0];
    if (!mayChangeRegistry())
        return;
    const auto password = app_.prompts().newPassword(userName);
    if (!password)
        return;
    const perumina::Status done = client::resetPassword(app_.serverName(), userName, *password);
    if (!done) {
        app_.dialogs().message(done.error);
        return;
    }
    record(client::passwordResetRecord(userName, chosen.first()[1]));
    refresh();
    app_.dialogs().message(QStringLiteral("%1 さんのパスワードを変更しました。").arg(userName));
}

void ConsoleScreen::retire()
{
    QStringList names;
    for (const QStringList &person : chosenPeople())
        if (!names.contains(person[1]))
            names.append(person[1]);
    if (names.isEmpty()) {
        app_.dialogs().message(QStringLiteral("退会する人を、登録者情報から選んで下さい。"));
        return;
    }
    if (!mayChangeRegistry())
        return;
    if (!app_.prompts().confirm(
            QStringLiteral("次の%1人を退会させます。よろしいですか？\n\n%2\n\n"
                           "登録を消し、フォルダは 管理データ\\退会者 に移します（削除はしません）。")
                .arg(names.size())
                .arg(names.join(u'\n'))))
        return;
    const client::RetireResult done =
        client::retirePeople(app_.serverName(), names, app_.seams().clock.today());
    if (const QString what = client::retireRecord(done, names); !what.isEmpty())
        record(what);
    if (!done.status) {
        app_.dialogs().message(done.status.error);
        refresh();
        return;
    }
    refresh();
    app_.dialogs().message(
        QStringLiteral("%1人を退会させました。フォルダは 管理データ\\退会者 に移しました。")
            .arg(names.size()));
}

void ConsoleScreen::openFolder(const QString &folder)
{
    // An unreachable folder leaves both lists as they were.
    if (!listSubfolders(folder))
        return;
    dirPath_ = folder;
    fillFolderList();
    listPictures();
}

// Like a folder list: the path from the administration folder down to the open folder, then the
// subfolders of the open folder, one step further in.
void ConsoleScreen::fillFolderList()
{
    folderList->clear();
    const QStringList chain = folderChain(rootPath_, dirPath_);
    int depth = 0;
    for (const QString &path : chain) {
        const QString name = folderName(path);
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + QStringLiteral("▽ ") + name, folderList);
        item->setData(kPathRole, path);
        ++depth;
    }
    folderList->setCurrentRow(folderList->count() - 1);
    for (const QString &name : listSubfolders(dirPath_).value_or(QStringList())) {
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + QStringLiteral("▷ ") + name, folderList);
        item->setData(kPathRole, childPath(dirPath_, name));
    }
}

void ConsoleScreen::listPictures()
{
    const auto files = listPictureFiles(dirPath_);
    if (!files)
        return;
    filePath_ = dirPath_;
    pictureList->clear();
    pictureList->addItems(*files);
}

void ConsoleScreen::openChosenFolder(QListWidgetItem *item)
{
    if (item)
        openFolder(item->data(kPathRole).toString());
}

void ConsoleScreen::showChosenPicture(QListWidgetItem *item)
{
    if (!item)
        return;
    const auto picture = perumina::loadPicture(childPath(filePath_, item->text()));
    if (!picture) {
        app_.dialogs().message(QStringLiteral("イラスト「%1」を読み込めませんでした。").arg(item->text()));
        return;
    }
    pictureLabel->setPixmap(QPixmap::fromImage(*picture));
    shownPicture_ = item->text();
}

void ConsoleScreen::backToLogin()
{
    hide();
    app_.adminLoginScreen()->show();
}

void ConsoleScreen::quit()
{
    app_.sweepAndEnd();
}

void ConsoleScreen::openDayBoard()
{
    app_.startBoard(QStringLiteral("DayBoardS.exe"));
}

void ConsoleScreen::openLunchBoard()
{
    app_.startBoard(QStringLiteral("LunchBoardS.exe"));
}

void ConsoleScreen::openMonthBoard()
{
    app_.startBoard(QStringLiteral("MonthBoardS.exe"));
}

void ConsoleScreen::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!app_.ended())
        app_.sweepAndEnd();
}

} // namespace admin
