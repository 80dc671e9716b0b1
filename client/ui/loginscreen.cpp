#include "client/ui/loginscreen.h"

#include "client/core/login.h"
#include "client/ui/clientapp.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/menuscreen.h"
#include "client/ui/welcomescreen.h"

#include "shared/ui/formkit.h"

#include <QGridLayout>

namespace client {

LoginScreen::LoginScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "LoginScreen", kScreenCaption);
    Label1 = label(this, "Label1", QStringLiteral("あなたの登録情報を入力してください。"), {},
                   larger(Face::PGothic, 4, true));
    Label2 = label(this, "Label2", QStringLiteral("ユーザー名"));
    Text1 = textBox(this, "Text1");
    Label5 = label(this, "Label5", QStringLiteral("パスワード"));
    Text2 = passwordBox(this, "Text2", 7);
    Label7 = label(this, "Label7", QStringLiteral("（７文字）"));
    Label3 = label(this, "Label3", QStringLiteral("※　注意！"));
    setTextColour(Label3, Qt::red);
    Label4 = label(this, "Label4", QStringLiteral("登録されたものを使ってください。"));
    Label6 = label(this, "Label6", QStringLiteral("（大文字と小文字を区別して下さい。）"));
    Command1 = button(this, "Command1", QStringLiteral("ＯＫ"));
    Command1->setDefault(true);
    Command7 = button(this, "Command7", QStringLiteral("戻る"));

    QGridLayout *fields =
        grid({{Label2, 0, 0}, {Text1, 0, 1}, {Label5, 1, 0}, {Text2, 1, 1}, {Label7, 1, 2}});
    fields->setColumnStretch(1, 1);
    column({Label1, Item::space(12), fields, Item::space(12), row({Label3, Label4, Item::stretch()}), Label6,
            Item::stretch(), row({Command7, Item::stretch(), Command1})},
           this);
    resize(520, 300);

    connect(Command1, &QPushButton::clicked, this, &LoginScreen::Command1_Click);
    connect(Command7, &QPushButton::clicked, this, &LoginScreen::Command7_Click);

    Form_Load();
}

void LoginScreen::Form_Load()
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

void LoginScreen::Command1_Click()
{
    QString problem;
    const auto credentials = loadCredentialLines(app_.serverName(), &problem);
    const LoginResult result = checkLogin(registry_, credentials, Text1->text(), Text2->text(), lastRecord_);
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
    app_.form09()->Label2->setText(result.fullName);
    if (app_.ended())
        return;
    app_.form10()->Label2->setText(result.fullName);
    if (app_.ended())
        return;
    hide();
    app_.menuScreen()->show();
    Text1->clear();
    Text2->clear();
}

void LoginScreen::Command7_Click()
{
    hide();
    app_.welcomeScreen()->show();
}

} // namespace client
