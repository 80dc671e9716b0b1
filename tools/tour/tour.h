#pragma once

#include "tools/tour/tourkit.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTextStream;

namespace boards {
class BoardScreen;
}
namespace client {
class ClientApp;
}

namespace tour {

struct Options
{
    QString pictures;                          // folder the pictures go into
    QString adminId = QStringLiteral("admin"); // the administrator of the site
    QString adminPassword = QStringLiteral("admin");
    QDateTime start; // the time the programs see first; the computer's time when not valid
};

// A pupil the tour registers and logs in as.
struct Pupil
{
    QString userName;
    QString fullName;
    QString password;
};

// One start of the classroom client, with its own seams, as a pupil starts it on a classroom computer.
struct ClientRun
{
    explicit ClientRun(perumina::Clock &clock);
    ~ClientRun();
    ProgramSeams seams;
    std::unique_ptr<client::ClientApp> app; // goes before the seams it uses
};

// The scripted tour of the whole system on one site: a pupil registers, logs in, sends a mail and a
// picture to another pupil, who logs in, reads the mail and looks at the picture; both variants of the
// boards; the administrator's login and console. Every screen is photographed on the way.
class Tour
{
public:
    Tour(Options options, QTextStream &out, QTextStream &err);
    ~Tour();

    // Runs each part of the tour; a failed step ends its part and is reported. True when none failed.
    bool run();
    const QStringList &pictures() const { return camera_.taken(); }

private:
    void classroom();
    void administrator();
    // The recipient answers the mail, the sender answers the answer, and the recipient's next login
    // counts it as new.
    void answers();

    Pupil freePupil(const QString &userName, const QString &fullName, const QString &password) const;
    std::unique_ptr<ClientRun> startClient(bool picture);
    void registerPupil(const Pupil &pupil, bool pictures);
    // Logs in from a new start of the client; messages are those the login shows (the reader's load
    // message for an empty inbox).
    std::unique_ptr<ClientRun> logIn(const Pupil &pupil, bool pictures, const QStringList &messages = {});
    void choose(ClientRun &run, const QString &option);
    void sendMail(ClientRun &run, const Pupil &to);
    void readMail(ClientRun &run, const Pupil &from);
    void drawAndSend(ClientRun &run, const Pupil &to);
    void viewPicture(ClientRun &run);
    void classroomBoards(ClientRun &run);

    // Checks that the messages shown since the last check are exactly the expected ones, and takes a
    // picture of each as the message box a person would see (none when picture is empty).
    void expectMessages(ProgramSeams &seams, const QStringList &expected, const QString &picture);

    // Opens a board the way its program starts, photographs it and closes it with its close button.
    using BoardMaker = std::function<std::unique_ptr<boards::BoardScreen>(perumina::Seams)>;
    void openBoard(const QString &program, const BoardMaker &make, const QString &picture);

    void startedBoard(const QString &program);

    bool part(const QString &name, void (Tour::*steps)());

    Options options_;
    QTextStream &err_;
    Camera camera_;
    TourClock clock_;
    QString server_;
    Pupil sender_;
    Pupil recipient_;
    QString pictureTitle_;
    QString mailTitle_;
    QString mailBody_;
    bool boardMessageTaken_ = false;
    bool classroomDone_ = false; // the pupils' mail and picture are on the site
    QString step_;               // the step under way, named in a failure report
};

} // namespace tour
