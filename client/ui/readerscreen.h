#pragma once

#include "client/core/mail.h"

#include <QDateTime>
#include <optional>

#include "client/ui/screen.h"
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QWidget>

namespace client {

class ClientApp;

// The mail reader: the signed-in user's inbox, copied locally when the login creates this screen,
// newest mail first.
class ReaderScreen : public Screen
{
    Q_OBJECT
public:
    explicit ReaderScreen(ClientApp &app, QWidget *parent = nullptr);

    // The mails of fullName's inbox as copied at login; the copy is taken again first when it is
    // someone else's (another login in this run).
    const QList<InboxRecord> &tableFor(const QString &fullName);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void fill(const ShownRecord &shown);
    // After a mail was shown: the 新着 mark for it, and the person's mark of read mail moved up to it.
    void shownMail(const ShownRecord &shown);
    void showNewer();
    void showOlder();
    void reply();
    void showMailScreen();
    void showCanvas();
    void showViewer();
    void backToMenu();
    void quit();

    QLabel *nameLabel = nullptr; // the full name of the signed-in user
    QLabel *inboxCaption = nullptr;
    QLabel *dateCaption = nullptr;
    QLineEdit *dateBox = nullptr;
    QLabel *timeCaption = nullptr;
    QLineEdit *timeBox = nullptr;
    QLabel *senderCaption = nullptr;
    QLineEdit *senderBox = nullptr;
    QLabel *titleCaption = nullptr;
    QLineEdit *titleBox = nullptr;
    QLabel *bodyCaption = nullptr;
    QPlainTextEdit *bodyBox = nullptr;
    QPushButton *newerButton = nullptr; // 最新のメールへ
    QPushButton *olderButton = nullptr; // 過去のメールへ
    QPushButton *writeMailButton = nullptr;
    QPushButton *drawButton = nullptr;
    QPushButton *viewPicturesButton = nullptr;
    QPushButton *quitButton = nullptr;
    QPushButton *backButton = nullptr;  // ようこそへ戻る: back to the menu
    QPushButton *replyButton = nullptr; // 返信: answer the mail shown
    QLabel *newMarkLabel = nullptr;     // 新着: the mail shown came after the last reading

    InboxCursor cursor_;
    QString loadedFor_;                   // whose inbox the table holds
    std::optional<QDateTime> markAtLoad_; // the read mark when the table was loaded: what is new
    std::optional<QDateTime> markedUpTo_; // the read mark as this reader last saw or wrote it
};

} // namespace client
