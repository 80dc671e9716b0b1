#include "client/ui/form03.h"

#include "client/core/login.h"
#include "client/ui/clientapp.h"
#include "client/ui/form01.h"
#include "client/ui/form04.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace client {

Form03::Form03(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    setObjectName(QStringLiteral("Form03"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));

    Label1 = new QLabel(QStringLiteral("あなたの登録情報を入力してください。"), this);
    Label2 = new QLabel(QStringLiteral("ユーザー名"), this);
    Text1 = new QLineEdit(this);
    Label5 = new QLabel(QStringLiteral("パスワード"), this);
    Text2 = new QLineEdit(this);
    Label7 = new QLabel(QStringLiteral("（７文字）"), this);
    Label3 = new QLabel(QStringLiteral("※　注意！"), this);
    Label4 = new QLabel(QStringLiteral("登録されたものを使ってください。"), this);
    Label6 = new QLabel(QStringLiteral("（大文字と小文字を区別して下さい。）"), this);
    Command1 = new QPushButton(QStringLiteral("ＯＫ"), this);
    Command7 = new QPushButton(QStringLiteral("戻る"), this);
    Text15 = new QLineEdit(this);
    Text14 = new QLineEdit(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Label5->setObjectName(QStringLiteral("Label5"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Label7->setObjectName(QStringLiteral("Label7"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Label6->setObjectName(QStringLiteral("Label6"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command7->setObjectName(QStringLiteral("Command7"));
    Text15->setObjectName(QStringLiteral("Text15"));
    Text14->setObjectName(QStringLiteral("Text14"));
    Text15->hide();
    Text14->hide();

    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Label1->setFont(big);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label3->setPalette(red);
    Text2->setEchoMode(QLineEdit::Password);
    Text2->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    Text2->setMaxLength(7);
    Text2->setAttribute(Qt::WA_InputMethodEnabled, false);
    Command1->setDefault(true);

    auto *fields = new QGridLayout;
    fields->addWidget(Label2, 0, 0);
    fields->addWidget(Text1, 0, 1);
    fields->addWidget(Label5, 1, 0);
    fields->addWidget(Text2, 1, 1);
    fields->addWidget(Label7, 1, 2);
    fields->setColumnStretch(1, 1);
    auto *note = new QHBoxLayout;
    note->addWidget(Label3);
    note->addWidget(Label4);
    note->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command7);
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(12);
    layout->addLayout(fields);
    layout->addSpacing(12);
    layout->addLayout(note);
    layout->addWidget(Label6);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(520, 300);

    connect(Command1, &QPushButton::clicked, this, &Form03::Command1_Click);
    connect(Command7, &QPushButton::clicked, this, &Form03::Command7_Click);

    Form_Load();
}

void Form03::Form_Load()
{
    std::optional<QStringList> lines = loadAdminRecordLines(app_.serverName());
    if (!lines) {
        app_.dialogs().message(loginUnreachableMessage());
        app_.sweepAndEnd();
        return;
    }
    registry_ = *lines;
}

void Form03::Command1_Click()
{
    const LoginResult result = checkLogin(registry_, loadCredentialLines(app_.serverName()), Text1->text(),
                                          Text2->text(), lastRecord_);
    if (!result.ok()) {
        app_.dialogs().message(loginFailureMessage(result.failure));
        // A user who logged in earlier in this run leaves no inbox copy behind.
        app_.sweepAndEnd();
        return;
    }
    lastRecord_ = result.record;
    Text15->setText(result.userName);
    Text14->setText(result.fullName);
    // Touching these screens creates them; they load the user's mail and illustrations from Text14.
    app_.form09()->Label2->setText(result.fullName);
    if (app_.ended())
        return;
    app_.form10()->Label2->setText(result.fullName);
    if (app_.ended())
        return;
    hide();
    app_.form04()->show();
    Text1->clear();
    Text2->clear();
}

void Form03::Command7_Click()
{
    hide();
    app_.form01()->show();
}

} // namespace client
