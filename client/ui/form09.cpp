#include "client/ui/form09.h"

#include "client/ui/clientapp.h"
#include "client/ui/enterkey.h"
#include "client/ui/form04.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form10.h"
#include "client/ui/formkit.h"
#include "shared/site.h"

#include <QCloseEvent>

namespace client {

namespace {

using namespace formkit;

const QString kNoOlder = QStringLiteral("現在届いているメールは以上です。");
const QString kNoNewer = QStringLiteral("最新のメールを表示しています。");

QLineEdit *field(QWidget *parent, const char *name, QRect geometry)
{
    auto *t = make<QLineEdit>(parent, name, geometry);
    t->setFont(gothicFont(12));
    t->setReadOnly(true);
    return t;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const char *colour,
                    QRect geometry)
{
    auto *b = make<QPushButton>(parent, name, geometry);
    b->setText(caption);
    b->setFont(popFont(11));
    const QString base =
        colour ? QStringLiteral("background-color: %1; ").arg(QLatin1String(colour)) : QString();
    b->setStyleSheet(QStringLiteral("QPushButton { %1border: 1px solid #606060; }"
                                    "QPushButton:pressed { background-color: #d0d0d0; }")
                         .arg(base));
    return b;
}

} // namespace

Form09::Form09(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    setObjectName(QStringLiteral("Form09"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
    setFixedSize(600, 470);

    Label2 = label(this, "Label2", QStringLiteral("Label2"), {20, 12, 200, 30});
    Label2->setFont(popFont(14));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1 = label(this, "Label1", QStringLiteral("さんに届いているメールです。"), {225, 12, 300, 30});

    Label4 = label(this, "Label4", QStringLiteral("受　信　日"), {20, 56, 90, 26});
    Text1 = field(this, "Text1", {115, 56, 130, 26});
    Label5 = label(this, "Label5", QStringLiteral("受信時刻"), {265, 56, 80, 26});
    Text2 = field(this, "Text2", {350, 56, 110, 26});
    Label3 = label(this, "Label3", QStringLiteral("差出人"), {20, 90, 90, 26});
    Text3 = field(this, "Text3", {115, 90, 345, 26});
    Label6 = label(this, "Label6", QStringLiteral("件　名"), {20, 124, 90, 26});
    Text4 = field(this, "Text4", {115, 124, 465, 26});
    Label8 = label(this, "Label8", QStringLiteral("本　文"), {20, 158, 90, 26});
    Text5 = make<QPlainTextEdit>(this, "Text5", {115, 158, 465, 180});
    Text5->setFont(gothicFont(12));
    Text5->setReadOnly(true);
    Text5->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Command5 = button(this, "Command5", QStringLiteral("最新のメールへ"), nullptr, {115, 348, 150, 32});
    Command6 = button(this, "Command6", QStringLiteral("過去のメールへ"), nullptr, {275, 348, 150, 32});
    Command1 = button(this, "Command1", QStringLiteral("メールを送る"), "#80ffff", {20, 400, 130, 34});
    Command4 = button(this, "Command4", QStringLiteral("イラストを描く"), "#ff6060", {158, 400, 130, 34});
    Command2 = button(this, "Command2", QStringLiteral("イラストも見る"), "#80e080", {296, 400, 130, 34});
    Command3 = button(this, "Command3", QStringLiteral("終了"), "#ffc0c0", {434, 400, 60, 34});
    Command7 = button(this, "Command7", QStringLiteral("ようこそへ戻る"), "#c0ffc0", {434, 350, 146, 30});

    connect(Command5, &QPushButton::clicked, this, &Form09::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form09::Command6_Click);
    connect(Command1, &QPushButton::clicked, this, &Form09::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &Form09::Command4_Click);
    connect(Command2, &QPushButton::clicked, this, &Form09::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form09::Command3_Click);
    connect(Command7, &QPushButton::clicked, this, &Form09::Command7_Click);
    new EnterPressesDefault(this, Command2);

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
    if (!fetchInbox(app_.serverName(), fullName)) {
        app_.dialogs().message(inboxLoadMessage());
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
    if (!shown.complete)
        app_.dialogs().message(inboxLoadMessage());
}

void Form09::showEvent(QShowEvent *event)
{
    // Someone else logged in since the copy was taken: their own inbox, never the previous user's.
    if (app_.signedIn().fullName != loadedFor_)
        Form_Load();
    QWidget::showEvent(event);
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
    if (!shown.complete)
        app_.dialogs().message(kNoOlder);
}

void Form09::Command5_Click()
{
    const ShownRecord shown = cursor_.newer();
    fill(shown);
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
    goTo(app_.form04());
}

void Form09::Command3_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
