#pragma once

#include "shared/ui/programapp.h"

#include <QString>
#include <memory>
#include <optional>

namespace admin {

class AdminLoginScreen;
class ConsoleScreen;

// What the console asks the administrator beyond a message; tests put a stand-in in its place.
class AdminPrompts
{
public:
    virtual ~AdminPrompts() = default;
    // The new password for userName, typed twice alike; nothing when the administrator cancels.
    virtual std::optional<QString> newPassword(const QString &userName) = 0;
    // Asks text with Yes and No; true for Yes.
    virtual bool confirm(const QString &text) = 0;
};

// The administration program's application object: the login screen and the console.
class AdminApp : public perumina::ProgramApp
{
    Q_OBJECT
public:
    explicit AdminApp(perumina::Seams seams, QObject *parent = nullptr);
    ~AdminApp() override;

    AdminLoginScreen *adminLoginScreen();
    ConsoleScreen *consoleScreen();
    // Whether the console has been created yet, without creating it.
    bool hasConsoleScreen() const { return consoleScreen_ != nullptr; }

    // Starts a board program by bare name; a program that cannot be started is reported by name.
    bool startBoard(const QString &program);

    // The ID the administrator logged in with, for the administration record.
    QString administratorId() const { return administratorId_; }
    void setAdministratorId(const QString &id) { administratorId_ = id; }

    AdminPrompts &prompts() { return *prompts_; }
    void setPrompts(std::unique_ptr<AdminPrompts> prompts) { prompts_ = std::move(prompts); }

protected:
    QWidget *firstScreen() override;

private:
    std::unique_ptr<AdminLoginScreen> adminLoginScreen_;
    std::unique_ptr<ConsoleScreen> consoleScreen_;
    std::unique_ptr<AdminPrompts> prompts_;
    QString administratorId_;
};

// The message shown when a board program cannot be started.
QString cannotStartMessage(const QString &program);

} // namespace admin
