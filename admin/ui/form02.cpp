#include "admin/ui/form02.h"

#include "admin/core/console.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/form01.h"
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

Form02::Form02(AdminApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    using namespace perumina::kit;
    setUpForm(this, "Form02", QStringLiteral("ぺる・み・な（管理用）"));
    setFixedSize(860, 620);
    Frame1 = make<QFrame>(this, "Frame1", {0, 0, 860, 100});
    Frame1->setStyleSheet(QStringLiteral("QFrame#Frame1 { background: black; }"));
    Label19 = label(Frame1, "Label19", QStringLiteral("ここでは以下の作業が行えます。"), {16, 8, 400, 24});
    Label11 = label(Frame1, "Label11",
                    QStringLiteral("１.　グループウェア「　　　　　　　　　　　」の登録者情報と内容の管理"),
                    {32, 38, 620, 24});
    Label14 = label(Frame1, "Label14", QStringLiteral("ぺる"));
    Label17 = label(Frame1, "Label17", QStringLiteral("・"));
    Label15 = label(Frame1, "Label15", QStringLiteral("み"));
    Label18 = label(Frame1, "Label18", QStringLiteral("・"));
    Label16 = label(Frame1, "Label16", QStringLiteral("な"));
    Label12 = label(Frame1, "Label12", QStringLiteral("２.　行事予定の編集と確認"), {32, 66, 400, 24});
    const std::pair<QLabel *, QColor> onBlack[] = {
        {Label19, Qt::white}, {Label11, Qt::yellow}, {Label14, Qt::red},  {Label17, Qt::yellow},
        {Label15, Qt::green}, {Label18, Qt::yellow}, {Label16, 0x66ccff}, {Label12, Qt::yellow}};
    for (const auto &[piece, colour] : onBlack)
        setColours(piece, Qt::black, colour);
    Command3 = button(Frame1, "Command3", QStringLiteral("戻る"), {660, 30, 85, 36});
    Command9 = button(Frame1, "Command9", QStringLiteral("終了"), {756, 30, 85, 36});
    placeNamePieces();

    Label2 = label(this, "Label2", QStringLiteral("メールの内容"), {12, 108, 200, 22});
    Label5 = label(this, "Label5", QStringLiteral("送信日"), {16, 132, 80, 20});
    Label6 = label(this, "Label6", QStringLiteral("時刻"), {96, 132, 60, 20});
    Label7 = label(this, "Label7", QStringLiteral("送信者"), {160, 132, 70, 20});
    Label41 = label(this, "Label41", QStringLiteral("受信者"), {232, 132, 70, 20});
    Label42 = label(this, "Label42", QStringLiteral("件名"), {306, 132, 70, 20});
    Label43 = label(this, "Label43", QStringLiteral("本文"), {380, 132, 70, 20});
    Text2 = make<LogView>(this, "Text2", {12, 154, 520, 230});
    Label3 = label(this, "Label3", QStringLiteral("登録者情報"), {548, 108, 200, 22});
    Label9 = label(this, "Label9", QStringLiteral("ユーザー名"), {552, 132, 90, 20});
    Label4 = label(this, "Label4", QStringLiteral("本名"), {648, 132, 80, 20});
    Label10 = label(this, "Label10", QStringLiteral("パスワード"), {730, 132, 100, 20});
    setTextColour(Label10, Qt::red);
    List1 = list(this, "List1", {548, 154, 300, 230});
    Label20 = label(this, "Label20", QStringLiteral("イラスト内容"), {12, 394, 200, 22});
    Dir1 = list(this, "Dir1", {12, 418, 200, 190});
    File1 = list(this, "File1", {220, 418, 190, 190});
    Image1 = make<QLabel>(this, "Image1", {418, 418, 240, 190});
    Image1->setFrameShape(QFrame::Box);
    Image1->setScaledContents(true);
    Command13 = button(this, "Command13", QStringLiteral("今日の予定を確認・変更する"), {668, 418, 180, 52});
    Command14 = button(this, "Command14", QStringLiteral("給食予定を確認・変更する"), {668, 487, 180, 52});
    Command4 = button(this, "Command4", QStringLiteral("月別行事を確認・変更する"), {668, 556, 180, 52});
    refreshButton = button(Frame1, "refreshButton", QStringLiteral("最新の情報に更新"), {660, 70, 181, 26});
    searchBox = textBox(this, "searchBox", {120, 106, 240, 24});
    searchBox->setPlaceholderText(QStringLiteral("送信者・受信者・件名・本文を検索"));
    searchBox->setClearButtonEnabled(true);
    searchCountLabel = label(this, "searchCountLabel", QString(), {366, 108, 166, 22});
    resetPasswordButton =
        button(this, "resetPasswordButton", QStringLiteral("パスワードを変更"), {548, 388, 146, 26});
    retireButton = button(this, "retireButton", QStringLiteral("退会"), {702, 388, 146, 26});
    // Several people leave together at the end of a year.
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);

    connect(Command3, &QPushButton::clicked, this, &Form02::Command3_Click);
    connect(Command9, &QPushButton::clicked, this, &Form02::Command9_Click);
    connect(Command13, &QPushButton::clicked, this, &Form02::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &Form02::Command14_Click);
    connect(Command4, &QPushButton::clicked, this, &Form02::Command4_Click);
    connect(refreshButton, &QPushButton::clicked, this, &Form02::refresh);
    connect(searchBox, &QLineEdit::textChanged, this, &Form02::search);
    connect(resetPasswordButton, &QPushButton::clicked, this, &Form02::resetPassword);
    connect(retireButton, &QPushButton::clicked, this, &Form02::retire);
    connect(Dir1, &QListWidget::itemActivated, this, &Form02::Dir1_DblClick);
    connect(File1, &QListWidget::itemActivated, this, &Form02::File1_DblClick);

    Form_Load();
}

// The five coloured pieces stand centred in the eleven full-width spaces between Label11's brackets.
void Form02::placeNamePieces()
{
    const QFontMetrics metrics(Label11->font());
    const int gapStart = Label11->x() + metrics.horizontalAdvance(QStringLiteral("１.　グループウェア「"));
    const int gapWidth = metrics.horizontalAdvance(QString(11, QChar(0x3000)));
    QLabel *const pieces[] = {Label14, Label17, Label15, Label18, Label16};
    int total = 0;
    for (QLabel *piece : pieces)
        total += metrics.horizontalAdvance(piece->text());
    int x = gapStart + (gapWidth - total) / 2;
    for (QLabel *piece : pieces) {
        const int width = metrics.horizontalAdvance(piece->text());
        piece->setGeometry(x, Label11->y(), width, Label11->height());
        piece->setFont(Label11->font());
        x += width;
    }
}

void Form02::Form_Load()
{
    rootPath_ = perumina::site::adminFolder(app_.serverName());
    readAll();
}

void Form02::readAll()
{
    const QString server = app_.serverName();
    LogText log = loadLogText(server);
    const QString logProblem = log.problem;
    Text2->setLog(std::make_shared<MessageLog>(std::move(log)));
    search();
    QString usersProblem;
    List1->clear();
    List1->addItems(readUserEntries(server, &usersProblem));
    // Missing files leave their displays empty without a word; one refused or cut is named.
    for (const QString &problem : {logProblem, usersProblem})
        if (!problem.isEmpty())
            app_.dialogs().message(problem);
    setDirPath(rootPath_);
}

// The folder in view stays open when it is still there.
void Form02::refresh()
{
    const QString folder = dirPath_;
    readAll();
    if (folder != rootPath_)
        setDirPath(folder);
}

void Form02::search()
{
    const qsizetype found = Text2->setFilter(searchBox->text());
    const qsizetype all = Text2->log().recordCount();
    searchCountLabel->setText(searchBox->text().isEmpty()
                                  ? QStringLiteral("全%1件").arg(all)
                                  : QStringLiteral("%1件（全%2件）").arg(found).arg(all));
}

QList<QStringList> Form02::chosenPeople() const
{
    QList<QStringList> people;
    for (int i = 0; i < List1->count(); ++i) {
        const QStringList parts = List1->item(i)->text().split(u',');
        if (List1->item(i)->isSelected() && parts.size() == 3)
            people.append(parts);
    }
    return people;
}

bool Form02::mayChangeRegistry()
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

void Form02::record(const QString &what)
{
    const perumina::Status recorded = client::appendAdministrationRecord(
        app_.serverName(), app_.seams().clock.now(), app_.administratorId(), what);
    if (!recorded)
        app_.dialogs().message(QStringLiteral("管理作業記録に書き込めませんでした。\n") + recorded.error);
}

void Form02::resetPassword()
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

void Form02::retire()
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

void Form02::setDirPath(const QString &folder)
{
    // An unreachable folder leaves both lists as they were.
    if (!listSubfolders(folder))
        return;
    dirPath_ = folder;
    fillDir1();
    Dir1_Change();
}

// Like a folder list: the path from the administration folder down to the open folder, then the
// subfolders of the open folder, one step further in.
void Form02::fillDir1()
{
    Dir1->clear();
    const QStringList chain = folderChain(rootPath_, dirPath_);
    int depth = 0;
    for (const QString &path : chain) {
        const QString name = folderName(path);
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + QStringLiteral("▽ ") + name, Dir1);
        item->setData(kPathRole, path);
        ++depth;
    }
    Dir1->setCurrentRow(Dir1->count() - 1);
    for (const QString &name : listSubfolders(dirPath_).value_or(QStringList())) {
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + QStringLiteral("▷ ") + name, Dir1);
        item->setData(kPathRole, childPath(dirPath_, name));
    }
}

void Form02::Dir1_Change()
{
    const auto files = listPictureFiles(dirPath_);
    if (!files)
        return;
    filePath_ = dirPath_;
    File1->clear();
    File1->addItems(*files);
}

void Form02::Dir1_DblClick(QListWidgetItem *item)
{
    if (item)
        setDirPath(item->data(kPathRole).toString());
}

void Form02::File1_DblClick(QListWidgetItem *item)
{
    if (!item)
        return;
    const auto picture = perumina::loadPicture(childPath(filePath_, item->text()));
    if (!picture) {
        app_.dialogs().message(QStringLiteral("イラスト「%1」を読み込めませんでした。").arg(item->text()));
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(*picture));
    shownPicture_ = item->text();
}

void Form02::Command3_Click()
{
    hide();
    app_.form01()->show();
}

void Form02::Command9_Click()
{
    app_.sweepAndEnd();
}

void Form02::Command13_Click()
{
    app_.startBoard(QStringLiteral("DayBoardS.exe"));
}

void Form02::Command14_Click()
{
    app_.startBoard(QStringLiteral("LunchBoardS.exe"));
}

void Form02::Command4_Click()
{
    app_.startBoard(QStringLiteral("MonthBoardS.exe"));
}

void Form02::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!app_.ended())
        app_.sweepAndEnd();
}

} // namespace admin
