#include "client/ui/loginscreen.h"

#include "client/core/login.h"
#include "client/ui/clientapp.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "client/ui/welcomescreen.h"

#include "shared/ui/formkit.h"

#include <QGridLayout>

namespace client {

LoginScreen::LoginScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "LoginScreen", kScreenCaption);
    promptCaption = label(this, "promptCaption", QStringLiteral("あなたの登録情報を入力してください。"), {},
                          larger(Face::PGothic, 4, true));
    userNameCaption = label(this, "userNameCaption", QStringLiteral("ユーザー名"));
    userNameBox = textBox(this, "userNameBox");
    passwordCaption = label(this, "passwordCaption", QStringLiteral("パスワード"));
    passwordBox = perumina::kit::passwordBox(this, "passwordBox", 7);
    passwordLengthCaption = label(this, "passwordLengthCaption", QStringLiteral("（７文字）"));
    cautionCaption = label(this, "cautionCaption", QStringLiteral("※　注意！"));
    setTextColour(cautionCaption, Qt::red);
    useRegisteredCaption =
        label(this, "useRegisteredCaption", QStringLiteral("登録されたものを使ってください。"));
    letterCaseCaption =
        label(this, "letterCaseCaption", QStringLiteral("（大文字と小文字を区別して下さい。）"));
    okButton = button(this, "okButton", QStringLiteral("ＯＫ"));
    okButton->setDefault(true);
    backButton = button(this, "backButton", QStringLiteral("戻る"));

    QGridLayout *fields = grid({{userNameCaption, 0, 0},
                                {userNameBox, 0, 1},
                                {passwordCaption, 1, 0},
                                {passwordBox, 1, 1},
                                {passwordLengthCaption, 1, 2}});
    fields->setColumnStretch(1, 1);
    column({promptCaption, Item::space(12), fields, Item::space(12),
            row({cautionCaption, useRegisteredCaption, Item::stretch()}), letterCaseCaption, Item::stretch(),
            row({backButton, Item::stretch(), okButton})},
           this);
    resize(520, 300);

    connect(okButton, &QPushButton::clicked, this, &LoginScreen::logIn);
    connect(backButton, &QPushButton::clicked, this, &LoginScreen::backToWelcome);

    loadRegistry();
}

void LoginScreen::loadRegistry()
{
    QString problem;
    std::optional<QStringList> lines = loadAdminRecordLines(app_.serverName(), &problem);
    if (!lines) {
        app_.dialogs().message(problem.isEmpty() ? loginUnreachableMessage() : problem);
        app_.sweepAndEnd(1);
        return;
    }
    registry_ = *lines;
}

void LoginScreen::logIn()
{
    QString problem;
    const auto credentials = loadCredentialLines(app_.serverName(), &problem);
    const LoginResult result =
        checkLogin(registry_, credentials, userNameBox->text(), passwordBox->text(), lastRecord_);
    if (!result.ok()) {
        // A file refused as too large or not a file is named, rather than blamed on what was typed.
        const bool refused = !credentials && !problem.isEmpty() && result.failure == 3;
        app_.dialogs().message(refused ? problem : loginFailureMessage(result.failure));
        // A user who logged in earlier in this run leaves no inbox copy behind.
        app_.sweepAndEnd(1);
        return;
    }
    lastRecord_ = result.record;
    app_.signIn({result.userName, result.fullName});
    // Touching these screens creates them; they load the signed-in user's mail and illustrations.
    app_.readerScreen();
    if (app_.ended())
        return;
    app_.viewerScreen();
    if (app_.ended())
        return;
    hide();
    app_.menuScreen()->show();
    userNameBox->clear();
    passwordBox->clear();
}

void LoginScreen::backToWelcome()
{
    hide();
    app_.welcomeScreen()->show();
}

} // namespace client
