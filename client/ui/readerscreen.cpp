#include "client/ui/readerscreen.h"

#include "client/core/login.h"
#include "client/core/newmail.h"
#include "client/core/reply.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/viewerscreen.h"
#include "shared/site.h"
#include "shared/ui/formkit.h"

#include <QCloseEvent>

namespace client {

namespace {

const QString kNoOlder = QStringLiteral("現在届いているメールは以上です。");
const QString kNoNewer = QStringLiteral("最新のメールを表示しています。");
const QString kNothingToAnswer = QStringLiteral("返信するメールが表示されていません。");
const QString kRegistryUnreadable = QStringLiteral("登録者の一覧を読めないため、返信できません。");

} // namespace

ReaderScreen::ReaderScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "ReaderScreen", kScreenCaption);
    setFixedSize(600, 470);
    const QFont pop = face(Face::Pop, 11);
    const QFont gothic = face(Face::PGothic, 12);
    nameLabel = label(this, "nameLabel", QStringLiteral("Label2"), {20, 12, 200, 30}, face(Face::Pop, 14));
    nameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    inboxCaption =
        label(this, "inboxCaption", QStringLiteral("さんに届いているメールです。"), {225, 12, 300, 30}, pop);
    dateCaption = label(this, "dateCaption", QStringLiteral("受　信　日"), {20, 56, 90, 26}, pop);
    dateBox = textBox(this, "dateBox", {115, 56, 130, 26}, gothic);
    timeCaption = label(this, "timeCaption", QStringLiteral("受信時刻"), {265, 56, 80, 26}, pop);
    timeBox = textBox(this, "timeBox", {350, 56, 110, 26}, gothic);
    senderCaption = label(this, "senderCaption", QStringLiteral("差出人"), {20, 90, 90, 26}, pop);
    senderBox = textBox(this, "senderBox", {115, 90, 345, 26}, gothic);
    titleCaption = label(this, "titleCaption", QStringLiteral("件　名"), {20, 124, 90, 26}, pop);
    titleBox = textBox(this, "titleBox", {115, 124, 465, 26}, gothic);
    bodyCaption = label(this, "bodyCaption", QStringLiteral("本　文"), {20, 158, 90, 26}, pop);
    bodyBox = multiLineBox(this, "bodyBox", {115, 158, 465, 180}, gothic);
    bodyBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QLineEdit *box : {dateBox, timeBox, senderBox, titleBox})
        box->setReadOnly(true);
    bodyBox->setReadOnly(true);
    const QColor plain = palette().color(QPalette::Button);
    newerButton =
        colourButton(this, "newerButton", QStringLiteral("最新のメールへ"), plain, {115, 348, 150, 32}, pop);
    olderButton =
        colourButton(this, "olderButton", QStringLiteral("過去のメールへ"), plain, {275, 348, 150, 32}, pop);
    writeMailButton = colourButton(this, "writeMailButton", QStringLiteral("メールを送る"), 0x80ffff,
                                   {20, 400, 130, 34}, pop);
    drawButton = colourButton(this, "drawButton", QStringLiteral("イラストを描く"), 0xff6060,
                              {158, 400, 130, 34}, pop);
    viewPicturesButton = colourButton(this, "viewPicturesButton", QStringLiteral("イラストも見る"), 0x80e080,
                                      {296, 400, 130, 34}, pop);
    viewPicturesButton->setDefault(true);
    quitButton = colourButton(this, "quitButton", QStringLiteral("終了"), 0xffc0c0, {434, 400, 60, 34}, pop);
    backButton = colourButton(this, "backButton", QStringLiteral("ようこそへ戻る"), 0xc0ffc0,
                              {434, 350, 146, 30}, pop);
    replyButton =
        colourButton(this, "replyButton", QStringLiteral("返信"), 0x80ffff, {502, 400, 78, 34}, pop);
    newMarkLabel =
        label(this, "newMarkLabel", QStringLiteral("新着"), {470, 56, 110, 26}, face(Face::Pop, 12));
    setTextColour(newMarkLabel, Qt::red);
    newMarkLabel->hide();

    connect(newerButton, &QPushButton::clicked, this, &ReaderScreen::showNewer);
    connect(olderButton, &QPushButton::clicked, this, &ReaderScreen::showOlder);
    connect(writeMailButton, &QPushButton::clicked, this, &ReaderScreen::showMailScreen);
    connect(drawButton, &QPushButton::clicked, this, &ReaderScreen::showCanvas);
    connect(viewPicturesButton, &QPushButton::clicked, this, &ReaderScreen::showViewer);
    connect(quitButton, &QPushButton::clicked, this, &ReaderScreen::quit);
    connect(backButton, &QPushButton::clicked, this, &ReaderScreen::backToMenu);
    connect(replyButton, &QPushButton::clicked, this, &ReaderScreen::reply);

    load();
}

// Copies the inbox of the user the login names, reads the copy and shows the newest mail. Any failure
// stops there with the one load message; a stale copy is never read in place of the user's inbox.
void ReaderScreen::load()
{
    const QString fullName = app_.signedIn().fullName;
    if (!fullName.isEmpty())
        nameLabel->setText(fullName);
    loadedFor_ = fullName;
    cursor_ = InboxCursor();
    for (QLineEdit *box : {dateBox, timeBox, senderBox, titleBox})
        box->clear();
    bodyBox->clear();
    newMarkLabel->hide();
    markAtLoad_ = readMailMark(app_.serverName(), fullName);
    markedUpTo_ = markAtLoad_;
    QString problem; // an inbox that is not a file, too large, or read only in part
    if (!fetchInbox(app_.serverName(), fullName, &problem)) {
        app_.dialogs().message(problem.isEmpty() ? inboxLoadMessage() : problem);
        return;
    }
    const auto table = readTable(perumina::site::localInboxCopy());
    if (!table) {
        app_.dialogs().message(inboxLoadMessage());
        return;
    }
    cursor_ = InboxCursor(*table);
    const ShownRecord shown = cursor_.current();
    fill(shown);
    if (!problem.isEmpty())
        app_.dialogs().message(problem);
    else if (!shown.complete)
        app_.dialogs().message(inboxLoadMessage());
}

void ReaderScreen::showEvent(QShowEvent *event)
{
    // Someone else logged in since the copy was taken: their own inbox, never the previous user's.
    if (app_.signedIn().fullName != loadedFor_)
        load();
    QWidget::showEvent(event);
    // Being on the screen is what makes the mail in the boxes read.
    shownMail(cursor_.current());
}

const QList<InboxRecord> &ReaderScreen::tableFor(const QString &fullName)
{
    if (fullName != loadedFor_)
        load();
    return cursor_.table();
}

void ReaderScreen::shownMail(const ShownRecord &shown)
{
    const int position = cursor_.position();
    if (shown.values.isEmpty() || position < 0 || position >= cursor_.size())
        return; // nothing new in the boxes: they keep the mail and the mark they had
    const InboxRecord &record = cursor_.table().at(position);
    newMarkLabel->setVisible(isNewMail(record, markAtLoad_));
    const std::optional<QDateTime> stamp = mailStamp(record);
    if (!stamp || (markedUpTo_ && *markedUpTo_ >= *stamp))
        return;
    // The mark is a convenience: when it cannot be written the mail stays new, and reading goes on.
    if (advanceMailMark(app_.serverName(), loadedFor_, *stamp).ok)
        markedUpTo_ = stamp;
}

// Fills the boxes in the order date, time, sender, title, body as far as the record has values; the
// boxes after an empty value keep what they showed.
void ReaderScreen::fill(const ShownRecord &shown)
{
    QLineEdit *boxes[] = {dateBox, timeBox, senderBox, titleBox};
    for (qsizetype i = 0; i < shown.values.size(); ++i) {
        if (i < 4)
            boxes[i]->setText(shown.values[i]);
        else
            bodyBox->setPlainText(toLf(shown.values[i]));
    }
}

void ReaderScreen::showOlder()
{
    const ShownRecord shown = cursor_.older();
    fill(shown);
    shownMail(shown);
    if (!shown.complete)
        app_.dialogs().message(kNoOlder);
}

void ReaderScreen::showNewer()
{
    const ShownRecord shown = cursor_.newer();
    fill(shown);
    shownMail(shown);
    if (!shown.complete)
        app_.dialogs().message(kNoNewer);
}

void ReaderScreen::showMailScreen()
{
    goTo(app_.mailScreen());
}

void ReaderScreen::showCanvas()
{
    goTo(app_.canvasScreen());
}

void ReaderScreen::showViewer()
{
    goTo(app_.viewerScreen());
}

void ReaderScreen::backToMenu()
{
    goTo(app_.menuScreen());
}

void ReaderScreen::quit()
{
    app_.sweepAndEnd();
}

// Opens the mail screen with the sender of the mail shown chosen in its list, as a click there
// chooses, the title answered and the body empty for typing. The inbox holds the sender's user name;
// the registry gives the full name that the list and the inbox folder use.
void ReaderScreen::reply()
{
    const QString sender = senderBox->text();
    if (sender.isEmpty()) {
        app_.dialogs().message(kNothingToAnswer);
        return;
    }
    const std::optional<QStringList> records = loadAdminRecordLines(app_.serverName());
    if (!records) {
        app_.dialogs().message(kRegistryUnreadable);
        return;
    }
    MailScreen *compose = app_.mailScreen();
    const std::optional<QString> recipient = replyRecipient(*records, compose->recipients(), sender);
    if (!recipient) {
        app_.dialogs().message(senderLeftMessage(sender));
        return;
    }
    goTo(compose);
    compose->answer(*recipient, replyTitle(titleBox->text()));
}

} // namespace client
