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
    questionCaption = label(this, "questionCaption", QStringLiteral("初めての利用者ですか？"), {},
                            larger(Face::PGothic, 8, true));
    newUserButton =
        button(this, "newUserButton", QStringLiteral("はい　　新規登録します"), {}, larger(Face::PGothic, 3));
    registeredUserButton = button(this, "registeredUserButton", QStringLiteral("いいえ　　登録済みです"), {},
                                  larger(Face::PGothic, 3));
    quitButton = button(this, "quitButton", QStringLiteral("終了"));
    serverNameBox = textBox(this, "serverNameBox");
    questionCaption->setAlignment(Qt::AlignCenter);
    newUserButton->setMinimumHeight(48);
    registeredUserButton->setMinimumHeight(48);
    registeredUserButton->setDefault(true);
    serverNameBox->setReadOnly(true);
    serverNameBox->setFixedWidth(140);

    column({Item::stretch(), questionCaption, Item::space(24), row({newUserButton, registeredUserButton}),
            Item::stretch(), row({quitButton, Item::stretch(), serverNameBox})},
           this);
    resize(560, 300);

    connect(newUserButton, &QPushButton::clicked, this, &WelcomeScreen::showRegistration);
    connect(registeredUserButton, &QPushButton::clicked, this, &WelcomeScreen::showLogin);
    connect(quitButton, &QPushButton::clicked, this, &WelcomeScreen::quit);

    startUp();
}

void WelcomeScreen::startUp()
{
    app_.startSweeper();
    if (!instance_.acquire()) {
        app_.dialogs().message(QStringLiteral("重複して起動されています。"),
                               perumina::Dialogs::Icon::Exclamation);
        app_.sweepAndEnd(1);
        return;
    }
    const std::optional<QString> server = perumina::ReadServerName();
    serverNameBox->setText(server.value_or(QString()));
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
    registeredUserButton->setFocus();
    QWidget::showEvent(event);
}

void WelcomeScreen::showRegistration()
{
    hide();
    RegistrationScreen *registration = app_.registrationScreen();
    if (!app_.ended())
        registration->show();
}

void WelcomeScreen::showLogin()
{
    hide();
    LoginScreen *login = app_.loginScreen();
    if (!app_.ended())
        login->show();
}

void WelcomeScreen::quit()
{
    app_.sweepAndEnd();
}

} // namespace client
