#include "client/ui/welcomescreen.h"

#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/registrationscreen.h"
#include "shared/records.h"

#include "shared/ui/formkit.h"

#include <QDir>

namespace client {

WelcomeScreen::WelcomeScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "WelcomeScreen", kScreenCaption);
    Label1 =
        label(this, "Label1", QStringLiteral("初めての利用者ですか？"), {}, larger(Face::PGothic, 8, true));
    Command1 =
        button(this, "Command1", QStringLiteral("はい　　新規登録します"), {}, larger(Face::PGothic, 3));
    Command2 =
        button(this, "Command2", QStringLiteral("いいえ　　登録済みです"), {}, larger(Face::PGothic, 3));
    Command4 = button(this, "Command4", QStringLiteral("終了"));
    Text1 = textBox(this, "Text1");
    Label1->setAlignment(Qt::AlignCenter);
    Command1->setMinimumHeight(48);
    Command2->setMinimumHeight(48);
    Command2->setDefault(true);
    Text1->setReadOnly(true);
    Text1->setFixedWidth(140);

    column({Item::stretch(), Label1, Item::space(24), row({Command1, Command2}), Item::stretch(),
            row({Command4, Item::stretch(), Text1})},
           this);
    resize(560, 300);

    connect(Command1, &QPushButton::clicked, this, &WelcomeScreen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &WelcomeScreen::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &WelcomeScreen::Command4_Click);

    Form_Load();
}

void WelcomeScreen::Form_Load()
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
    // Without a folder of the person's own, the inbox copy has nowhere safe to go and a second start
    // cannot be noticed: the pupil goes on, but the teacher must be told.
    if (instance_.lockPath().isEmpty())
        app_.dialogs().message(
            QStringLiteral(
                "このアカウントの作業用フォルダを作れませんでした。届いたメールを読めないことがあり、"
                "二重起動も確かめられません。担任の先生に知らせて下さい。\n（%1 にこのアカウント"
                "だけのフォルダを作れません）")
                .arg(QDir::toNativeSeparators(QDir::tempPath())),
            perumina::Dialogs::Icon::Exclamation);
}

// Enter presses a focused button, so the screen opens with the focus where Enter means login.
void WelcomeScreen::showEvent(QShowEvent *event)
{
    Command2->setFocus();
    QWidget::showEvent(event);
}

void WelcomeScreen::Command1_Click()
{
    hide();
    RegistrationScreen *registration = app_.registrationScreen();
    if (!app_.ended())
        registration->show();
}

void WelcomeScreen::Command2_Click()
{
    hide();
    LoginScreen *login = app_.loginScreen();
    if (!app_.ended())
        login->show();
}

void WelcomeScreen::Command4_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
