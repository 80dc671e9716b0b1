#include "client/ui/form01.h"

#include "client/ui/clientapp.h"
#include "client/ui/form02.h"
#include "client/ui/form03.h"
#include "shared/records.h"

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace client {

Form01::Form01(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    setObjectName(QStringLiteral("Form01"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));

    Label1 = new QLabel(QStringLiteral("初めての利用者ですか？"), this);
    Command1 = new QPushButton(QStringLiteral("はい　　新規登録します"), this);
    Command2 = new QPushButton(QStringLiteral("いいえ　　登録済みです"), this);
    Command4 = new QPushButton(QStringLiteral("終了"), this);
    Text1 = new QLineEdit(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command4->setObjectName(QStringLiteral("Command4"));
    Text1->setObjectName(QStringLiteral("Text1"));

    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    for (QPushButton *button : {Command1, Command2}) {
        QFont f = button->font();
        f.setPointSize(f.pointSize() + 3);
        button->setFont(f);
        button->setMinimumHeight(48);
    }
    Command2->setDefault(true);
    Text1->setReadOnly(true);
    Text1->setFixedWidth(140);

    auto *answers = new QHBoxLayout;
    answers->addWidget(Command1);
    answers->addWidget(Command2);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Command4);
    bottom->addStretch();
    bottom->addWidget(Text1);
    auto *layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(Label1);
    layout->addSpacing(24);
    layout->addLayout(answers);
    layout->addStretch();
    layout->addLayout(bottom);
    resize(560, 300);

    connect(Command1, &QPushButton::clicked, this, &Form01::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form01::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form01::Command4_Click);

    Form_Load();
}

void Form01::Form_Load()
{
    app_.startSweeper();
    if (!instance_.acquire()) {
        app_.dialogs().message(QStringLiteral("重複して起動されています。"),
                               perumina::Dialogs::Icon::Exclamation);
        app_.sweepAndEnd(1);
        return;
    }
    const std::optional<QString> server = perumina::ReadServerName();
    Text1->setText(server.value_or(QString()));
    if (!server || server->isEmpty()) {
        app_.dialogs().message(QStringLiteral("サーバー名が設定されていません。\r\n"
                                              "Read Meの「インストールについて」を確認して下さい。"));
        app_.sweepAndEnd(1);
        return;
    }
    app_.setServerName(*server);
}

void Form01::Command1_Click()
{
    hide();
    Form02 *registration = app_.form02();
    if (!app_.ended())
        registration->show();
}

void Form01::Command2_Click()
{
    hide();
    Form03 *login = app_.form03();
    if (!app_.ended())
        login->show();
}

void Form01::Command4_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
