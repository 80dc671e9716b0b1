#include "admin/ui/adminloginscreen.h"

#include "admin/core/admincheck.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/consolescreen.h"
#include "shared/records.h"
#include "shared/ui/formkit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace admin {

AdminLoginScreen::AdminLoginScreen(AdminApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    using namespace perumina::kit;
    setUpForm(this, "AdminLoginScreen", QStringLiteral("ぺる・み・な（管理用）"));
    setFixedSize(480, 250);
    promptCaption = label(this, "promptCaption", QStringLiteral("管理者用IDとパスワードを入力して下さい。"),
                          {30, 20, 420, 24});
    idCaption = label(this, "idCaption", QStringLiteral("ID"), {40, 60, 100, 26});
    idBox = textBox(this, "idBox", {150, 60, 200, 26});
    passwordCaption = label(this, "passwordCaption", QStringLiteral("パスワード"), {40, 96, 100, 26});
    // No limit of its own on the password.
    passwordBox = perumina::kit::passwordBox(this, "passwordBox", 0, {150, 96, 200, 26});
    okButton = button(this, "okButton", QStringLiteral("OK"), {370, 60, 90, 28});
    okButton->setDefault(true);
    quitButton = button(this, "quitButton", QStringLiteral("終了"), {370, 96, 90, 28});
    windowsAccountCaption = label(
        this, "windowsAccountCaption",
        QStringLiteral("Windows XpやWindows2000で設定変更する場合はAdministratorでログインして下さい。"),
        {30, 145, 430, 60});
    setTextColour(windowsAccountCaption, Qt::red);
    windowsAccountCaption->setWordWrap(true);

    connect(okButton, &QPushButton::clicked, this, &AdminLoginScreen::logIn);
    connect(quitButton, &QPushButton::clicked, this, &AdminLoginScreen::quit);
}

void AdminLoginScreen::start()
{
    app_.startSweeper();
    const QString server = perumina::ReadServerName().value_or(QString());
    if (server.isEmpty()) {
        app_.dialogs().message(noServerMessage());
        app_.endProgram(1);
        return;
    }
    app_.setServerName(server);
}

void AdminLoginScreen::logIn()
{
    const QString id = idBox->text();
    const QString password = passwordBox->text();
    if (id.isEmpty()) {
        app_.dialogs().message(emptyIdMessage());
        return;
    }
    if (password.isEmpty()) {
        app_.dialogs().message(emptyPasswordMessage());
        return;
    }
    QString refusal;
    switch (checkAdministrator(app_.serverName(), id, password, &refusal)) {
    case AdminCheck::Admitted:
        app_.setAdministratorId(id);
        hide();
        app_.consoleScreen()->show();
        break;
    case AdminCheck::NotRegistered:
        app_.dialogs().message(notRegisteredMessage());
        break;
    case AdminCheck::Refused:
        app_.dialogs().message(refusal);
        break;
    case AdminCheck::Unreadable:
        app_.dialogs().message(accessFailureMessage());
        idBox->clear();
        passwordBox->clear();
        break;
    }
}

void AdminLoginScreen::quit()
{
    app_.sweepAndEnd();
}

// With the console hidden behind its back button no window would be left, so closing here ends the
// program instead of leaving it running unseen.
void AdminLoginScreen::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!app_.ended())
        app_.endProgram();
}

} // namespace admin
