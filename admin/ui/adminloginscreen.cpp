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

Form01::Form01(AdminApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    using namespace perumina::kit;
    setUpForm(this, "Form01", QStringLiteral("ぺる・み・な（管理用）"));
    setFixedSize(480, 250);
    Label1 =
        label(this, "Label1", QStringLiteral("管理者用IDとパスワードを入力して下さい。"), {30, 20, 420, 24});
    Label2 = label(this, "Label2", QStringLiteral("ID"), {40, 60, 100, 26});
    Text1 = textBox(this, "Text1", {150, 60, 200, 26});
    Label3 = label(this, "Label3", QStringLiteral("パスワード"), {40, 96, 100, 26});
    Text2 = passwordBox(this, "Text2", 0, {150, 96, 200, 26}); // no limit of its own on the password
    Command1 = button(this, "Command1", QStringLiteral("OK"), {370, 60, 90, 28});
    Command1->setDefault(true);
    Command2 = button(this, "Command2", QStringLiteral("終了"), {370, 96, 90, 28});
    Label4 = label(
        this, "Label4",
        QStringLiteral("Windows XpやWindows2000で設定変更する場合はAdministratorでログインして下さい。"),
        {30, 145, 430, 60});
    setTextColour(Label4, Qt::red);
    Label4->setWordWrap(true);

    connect(Command1, &QPushButton::clicked, this, &Form01::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form01::Command2_Click);
}

void Form01::start()
{
    app_.startSweeper();
    Text5 = perumina::ReadServerName().value_or(QString());
    if (Text5.isEmpty()) {
        app_.dialogs().message(noServerMessage());
        app_.endProgram(1);
        return;
    }
    app_.setServerName(Text5);
}

void Form01::Command1_Click()
{
    const QString id = Text1->text();
    const QString password = Text2->text();
    if (id.isEmpty()) {
        app_.dialogs().message(emptyIdMessage());
        return;
    }
    if (password.isEmpty()) {
        app_.dialogs().message(emptyPasswordMessage());
        return;
    }
    Text3 = id + password;
    Text4.clear();
    QString refusal;
    switch (checkAdministrator(app_.serverName(), id, password, &refusal)) {
    case AdminCheck::Admitted:
        Text4 = Text3;
        app_.setAdministratorId(id);
        hide();
        app_.form02()->show();
        break;
    case AdminCheck::NotRegistered:
        app_.dialogs().message(notRegisteredMessage());
        break;
    case AdminCheck::Refused:
        app_.dialogs().message(refusal);
        break;
    case AdminCheck::Unreadable:
        app_.dialogs().message(accessFailureMessage());
        Text1->clear();
        Text2->clear();
        break;
    }
}

void Form01::Command2_Click()
{
    app_.sweepAndEnd();
}

// With the console hidden behind its back button no window would be left, so closing here ends the
// program instead of leaving it running unseen.
void Form01::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!app_.ended())
        app_.endProgram();
}

} // namespace admin
