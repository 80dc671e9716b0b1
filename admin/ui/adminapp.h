#pragma once

#include "shared/ui/programapp.h"

#include <memory>

namespace admin {

class Form01;
class Form02;

// The administration program's application object: the login screen and the console.
class AdminApp : public perumina::ProgramApp
{
    Q_OBJECT
public:
    explicit AdminApp(perumina::Seams seams, QObject *parent = nullptr);
    ~AdminApp() override;

    Form01 *form01();
    Form02 *form02();
    // Whether the console has been created yet, without creating it.
    bool hasForm02() const { return form02_ != nullptr; }

    // Starts a board program by bare name; a program that cannot be started is reported by name.
    bool startBoard(const QString &program);

protected:
    QWidget *firstScreen() override;

private:
    std::unique_ptr<Form01> form01_;
    std::unique_ptr<Form02> form02_;
};

// The message shown when a board program cannot be started.
QString cannotStartMessage(const QString &program);

} // namespace admin
