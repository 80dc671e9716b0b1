#include "admin/ui/adminprompts.h"

#include "client/core/registryadmin.h"
#include "shared/textfile.h"
#include "shared/ui/formkit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace admin {

PasswordDialog::PasswordDialog(const QString &userName, QWidget *parent) : QDialog(parent)
{
    using namespace perumina::kit;
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(QStringLiteral("パスワードを変更"));
    setFixedSize(340, 190);
    promptLabel =
        label(this, "promptLabel", QStringLiteral("「%1」の新しいパスワード（７文字まで）").arg(userName),
              {16, 12, 310, 22});
    newPasswordCaption =
        label(this, "newPasswordCaption", QStringLiteral("新しいパスワード"), {16, 44, 130, 22});
    newPasswordBox = passwordBox(this, "newPasswordBox", 7, {150, 42, 170, 26});
    repeatPasswordCaption =
        label(this, "repeatPasswordCaption", QStringLiteral("もう一度"), {16, 78, 130, 22});
    repeatPasswordBox = passwordBox(this, "repeatPasswordBox", 7, {150, 76, 170, 26});
    problemLabel = label(this, "problemLabel", QString(), {16, 108, 310, 36});
    problemLabel->setWordWrap(true);
    setTextColour(problemLabel, Qt::red);
    okButton = button(this, "okButton", QStringLiteral("変更"), {150, 148, 80, 30});
    cancelButton = button(this, "cancelButton", QStringLiteral("やめる"), {240, 148, 80, 30});
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &PasswordDialog::tryAccept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString PasswordDialog::password() const
{
    return perumina::foldForCp932(newPasswordBox->text());
}

void PasswordDialog::tryAccept()
{
    if (newPasswordBox->text() != repeatPasswordBox->text()) {
        problemLabel->setText(QStringLiteral("２つのパスワードが違います。もう一度入力して下さい。"));
        repeatPasswordBox->clear();
        repeatPasswordBox->setFocus();
        return;
    }
    if (const QString problem = client::newPasswordProblem(password()); !problem.isEmpty()) {
        problemLabel->setText(problem);
        return;
    }
    accept();
}

std::optional<QString> DialogPrompts::newPassword(const QString &userName)
{
    PasswordDialog dialog(userName, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.password();
}

bool DialogPrompts::confirm(const QString &text)
{
    return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("ぺる・み・な（管理用）"), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace admin
