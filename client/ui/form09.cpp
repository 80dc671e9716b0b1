#include "client/ui/form09.h"

#include "client/core/login.h"
#include "client/core/newmail.h"
#include "client/core/reply.h"
#include "client/ui/clientapp.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form10.h"
#include "client/ui/menuscreen.h"
#include "shared/site.h"
#include "shared/ui/formkit.h"

#include <QCloseEvent>
#include <QListWidget>

namespace client {

namespace {

const QString kNoOlder = QStringLiteral("現在届いているメールは以上です。");
const QString kNoNewer = QStringLiteral("最新のメールを表示しています。");
const QString kNothingToAnswer = QStringLiteral("返信するメールが表示されていません。");
const QString kRegistryUnreadable = QStringLiteral("登録者の一覧を読めないため、返信できません。");

} // namespace

Form09::Form09(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "Form09", kScreenCaption);
    setFixedSize(600, 470);
    const QFont pop = face(Face::Pop, 11);
    const QFont gothic = face(Face::PGothic, 12);
    Label2 = label(this, "Label2", QStringLiteral("Label2"), {20, 12, 200, 30}, face(Face::Pop, 14));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1 = label(this, "Label1", QStringLiteral("さんに届いているメールです。"), {225, 12, 300, 30}, pop);
    Label4 = label(this, "Label4", QStringLiteral("受　信　日"), {20, 56, 90, 26}, pop);
    Text1 = textBox(this, "Text1", {115, 56, 130, 26}, gothic);
    Label5 = label(this, "Label5", QStringLiteral("受信時刻"), {265, 56, 80, 26}, pop);
    Text2 = textBox(this, "Text2", {350, 56, 110, 26}, gothic);
    Label3 = label(this, "Label3", QStringLiteral("差出人"), {20, 90, 90, 26}, pop);
    Text3 = textBox(this, "Text3", {115, 90, 345, 26}, gothic);
    Label6 = label(this, "Label6", QStringLiteral("件　名"), {20, 124, 90, 26}, pop);
    Text4 = textBox(this, "Text4", {115, 124, 465, 26}, gothic);
    Label8 = label(this, "Label8", QStringLiteral("本　文"), {20, 158, 90, 26}, pop);
    Text5 = multiLineBox(this, "Text5", {115, 158, 465, 180}, gothic);
    Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QLineEdit *box : {Text1, Text2, Text3, Text4})
        box->setReadOnly(true);
    Text5->setReadOnly(true);
    const QColor plain = palette().color(QPalette::Button);
    Command5 =
        colourButton(this, "Command5", QStringLiteral("最新のメールへ"), plain, {115, 348, 150, 32}, pop);
    Command6 =
        colourButton(this, "Command6", QStringLiteral("過去のメールへ"), plain, {275, 348, 150, 32}, pop);
    Command1 =
        colourButton(this, "Command1", QStringLiteral("メールを送る"), 0x80ffff, {20, 400, 130, 34}, pop);
    Command4 =
        colourButton(this, "Command4", QStringLiteral("イラストを描く"), 0xff6060, {158, 400, 130, 34}, pop);
    Command2 =
        colourButton(this, "Command2", QStringLiteral("イラストも見る"), 0x80e080, {296, 400, 130, 34}, pop);
    Command2->setDefault(true);
    Command3 = colourButton(this, "Command3", QStringLiteral("終了"), 0xffc0c0, {434, 400, 60, 34}, pop);
    Command7 =
        colourButton(this, "Command7", QStringLiteral("ようこそへ戻る"), 0xc0ffc0, {434, 350, 146, 30}, pop);
    replyButton =
        colourButton(this, "replyButton", QStringLiteral("返信"), 0x80ffff, {502, 400, 78, 34}, pop);
    newMarkLabel =
        label(this, "newMarkLabel", QStringLiteral("新着"), {470, 56, 110, 26}, face(Face::Pop, 12));
    setTextColour(newMarkLabel, Qt::red);
    newMarkLabel->hide();

    connect(Command5, &QPushButton::clicked, this, &Form09::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form09::Command6_Click);
    connect(Command1, &QPushButton::clicked, this, &Form09::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &Form09::Command4_Click);
    connect(Command2, &QPushButton::clicked, this, &Form09::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form09::Command3_Click);
    connect(Command7, &QPushButton::clicked, this, &Form09::Command7_Click);
    connect(replyButton, &QPushButton::clicked, this, &Form09::reply);

    Form_Load();
}

// Copies the inbox of the user the login names, reads the copy and shows the newest mail. Any failure
// stops there with the one load message; a stale copy is never read in place of the user's inbox.
void Form09::Form_Load()
{
    const QString fullName = app_.signedIn().fullName;
    loadedFor_ = fullName;
    cursor_ = InboxCursor();
    for (QLineEdit *box : {Text1, Text2, Text3, Text4})
        box->clear();
    Text5->clear();
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

void Form09::showEvent(QShowEvent *event)
{
    // Someone else logged in since the copy was taken: their own inbox, never the previous user's.
    if (app_.signedIn().fullName != loadedFor_)
        Form_Load();
    QWidget::showEvent(event);
    // Being on the screen is what makes the mail in the boxes read.
    shownMail(cursor_.current());
}

const QList<InboxRecord> &Form09::tableFor(const QString &fullName)
{
    if (fullName != loadedFor_)
        Form_Load();
    return cursor_.table();
}

void Form09::shownMail(const ShownRecord &shown)
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
void Form09::fill(const ShownRecord &shown)
{
    QLineEdit *boxes[] = {Text1, Text2, Text3, Text4};
    for (qsizetype i = 0; i < shown.values.size(); ++i) {
        if (i < 4)
            boxes[i]->setText(shown.values[i]);
        else
            Text5->setPlainText(toLf(shown.values[i]));
    }
}

void Form09::Command6_Click()
{
    const ShownRecord shown = cursor_.older();
    fill(shown);
    shownMail(shown);
    if (!shown.complete)
        app_.dialogs().message(kNoOlder);
}

void Form09::Command5_Click()
{
    const ShownRecord shown = cursor_.newer();
    fill(shown);
    shownMail(shown);
    if (!shown.complete)
        app_.dialogs().message(kNoNewer);
}

void Form09::Command1_Click()
{
    goTo(app_.form05());
}

void Form09::Command4_Click()
{
    goTo(app_.form06());
}

void Form09::Command2_Click()
{
    goTo(app_.form10());
}

void Form09::Command7_Click()
{
    goTo(app_.menuScreen());
}

void Form09::Command3_Click()
{
    app_.sweepAndEnd();
}

// Opens the mail screen with the sender of the mail shown chosen in its list, as a click there
// chooses, the title answered and the body empty for typing. The inbox holds the sender's user name;
// the registry gives the full name that the list and the inbox folder use.
void Form09::reply()
{
    const QString sender = Text3->text();
    if (sender.isEmpty()) {
        app_.dialogs().message(kNothingToAnswer);
        return;
    }
    const std::optional<QStringList> records = loadAdminRecordLines(app_.serverName());
    if (!records) {
        app_.dialogs().message(kRegistryUnreadable);
        return;
    }
    Form05 *compose = app_.form05();
    QStringList listed;
    for (int i = 0; i < compose->List1->count(); ++i)
        listed.append(compose->List1->item(i)->text());
    const std::optional<QString> recipient = replyRecipient(*records, listed, sender);
    if (!recipient) {
        app_.dialogs().message(senderLeftMessage(sender));
        return;
    }
    QListWidgetItem *item = compose->List1->item(int(listed.indexOf(*recipient)));
    compose->List1->setCurrentItem(item);
    compose->List1->scrollToItem(item);
    emit compose->List1->itemClicked(item);
    compose->Text2->setText(replyTitle(Text4->text()));
    compose->Text1->clear();
    goTo(compose);
    compose->Text1->setFocus();
}

} // namespace client
