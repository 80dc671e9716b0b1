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
class Form09 : public Screen
{
    Q_OBJECT
public:
    explicit Form09(ClientApp &app, QWidget *parent = nullptr);

    QLabel *Label2 = nullptr; // the full name of the logged-in user
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text1 = nullptr; // date
    QLabel *Label5 = nullptr;
    QLineEdit *Text2 = nullptr; // time
    QLabel *Label3 = nullptr;
    QLineEdit *Text3 = nullptr; // sender
    QLabel *Label6 = nullptr;
    QLineEdit *Text4 = nullptr; // title
    QLabel *Label8 = nullptr;
    QPlainTextEdit *Text5 = nullptr; // body
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *replyButton = nullptr; // 返信: answer the mail shown
    QLabel *newMarkLabel = nullptr;     // 新着: the mail shown came after the last reading

    void Form_Load();
    void Command5_Click();
    void Command6_Click();
    void Command1_Click();
    void Command4_Click();
    void Command2_Click();
    void Command3_Click();
    void Command7_Click();
    void reply();

    int position() const { return cursor_.position(); }
    // The mails of fullName's inbox as copied at login; the copy is taken again first when it is
    // someone else's (another login in this run).
    const QList<InboxRecord> &tableFor(const QString &fullName);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill(const ShownRecord &shown);
    // After a mail was shown: the 新着 mark for it, and the person's mark of read mail moved up to it.
    void shownMail(const ShownRecord &shown);

    InboxCursor cursor_;
    QString loadedFor_;                   // whose inbox the table holds
    std::optional<QDateTime> markAtLoad_; // the read mark when the table was loaded: what is new
    std::optional<QDateTime> markedUpTo_; // the read mark as this reader last saw or wrote it
};

} // namespace client
