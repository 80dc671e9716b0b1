#include "admin/ui/form01.h"

#include "admin/core/admincheck.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/form02.h"
#include "shared/records.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace admin {

template <typename W> static W *named(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

Form01::Form01(AdminApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form01"));
    setWindowTitle(QStringLiteral("ぺる・み・な（管理用）"));
    setFixedSize(480, 250);

    Label1 = named<QLabel>(this, "Label1");
    Label1->setText(QStringLiteral("管理者用IDとパスワードを入力して下さい。"));
    Label1->setGeometry(30, 20, 420, 24);

    Label2 = named<QLabel>(this, "Label2");
    Label2->setText(QStringLiteral("ID"));
    Label2->setGeometry(40, 60, 100, 26);
    Text1 = named<QLineEdit>(this, "Text1");
    Text1->setGeometry(150, 60, 200, 26);

    Label3 = named<QLabel>(this, "Label3");
    Label3->setText(QStringLiteral("パスワード"));
    Label3->setGeometry(40, 96, 100, 26);
    Text2 = named<QLineEdit>(this, "Text2");
    Text2->setGeometry(150, 96, 200, 26);
    Text2->setEchoMode(QLineEdit::Password);
    Text2->setMaxLength(std::numeric_limits<int>::max()); // no limit of its own on the password
    Text2->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    Text2->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText |
                               Qt::ImhLatinOnly);

    Command1 = named<QPushButton>(this, "Command1");
    Command1->setText(QStringLiteral("OK"));
    Command1->setGeometry(370, 60, 90, 28);
    Command1->setDefault(true);
    Command2 = named<QPushButton>(this, "Command2");
    Command2->setText(QStringLiteral("終了"));
    Command2->setGeometry(370, 96, 90, 28);

    Label4 = named<QLabel>(this, "Label4");
    Label4->setText(
        QStringLiteral("Windows XpやWindows2000で設定変更する場合はAdministratorでログインして下さい。"));
    Label4->setStyleSheet(QStringLiteral("color: red;"));
    Label4->setWordWrap(true);
    Label4->setGeometry(30, 145, 430, 60);

    Command3 = named<QPushButton>(this, "Command3");
    Command3->setText(QStringLiteral("Command3"));
    Command3->setGeometry(370, 210, 90, 28);
    Command3->hide();

    connect(Command1, &QPushButton::clicked, this, &Form01::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form01::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form01::Command3_Click);
    // Enter in either box presses the default button, as on a dialog.
    connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Text2, &QLineEdit::returnPressed, Command1, &QPushButton::click);

    Form_Load();
}

void Form01::Form_Load()
{
    Command3->click();
}

void Form01::Command3_Click()
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
    switch (checkAdministrator(app_.serverName(), id, password)) {
    case AdminCheck::Admitted:
        Text4 = Text3;
        hide();
        app_.form02()->show();
        break;
    case AdminCheck::NotRegistered:
        app_.dialogs().message(notRegisteredMessage());
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
