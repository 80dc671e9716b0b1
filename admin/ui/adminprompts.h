#pragma once

#include "admin/ui/adminapp.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace admin {

// The small window in which the administrator types a person's new password twice.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordDialog(const QString &userName, QWidget *parent = nullptr);

    QString password() const;

private:
    // Accepts only two equal passwords that the registration's rules allow, and says what is wrong.
    void tryAccept();

    QLabel *promptLabel;
    QLabel *newPasswordCaption;
    QLineEdit *newPasswordBox;
    QLabel *repeatPasswordCaption;
    QLineEdit *repeatPasswordBox;
    QLabel *problemLabel;
    QPushButton *okButton;
    QPushButton *cancelButton;
};

// The real prompts: the password window and a Yes/No message box.
class DialogPrompts : public AdminPrompts
{
public:
    std::optional<QString> newPassword(const QString &userName) override;
    bool confirm(const QString &text) override;
};

} // namespace admin
