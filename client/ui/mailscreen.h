#pragma once

#include "client/ui/screen.h"
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QWidget>

namespace client {

class ClientApp;

// The mail compose screen: pick a registered person, write a title and a body, and send.
class MailScreen : public Screen
{
    Q_OBJECT
public:
    explicit MailScreen(ClientApp &app, QWidget *parent = nullptr);

    // The names the recipient list offers, top to bottom.
    QStringList recipients() const;
    // Begins an answer on this screen: the recipient chosen in the list as a click chooses, the title
    // given, the body empty and holding the focus for typing.
    void answer(const QString &recipient, const QString &title);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void chooseRecipient();
    void send();
    void selectRefusedCharacter(const QString &field);
    void clearBody();
    void showCanvas();
    void showViewer();
    void showReader();
    void backToMenu();
    void startSweeper();

    QGroupBox *recipientFrame = nullptr;
    QLabel *recipientCaption = nullptr;
    QListWidget *recipientList = nullptr;
    QLineEdit *recipientBox = nullptr; // the recipient's full name
    QLabel *honorificCaption = nullptr;
    QLineEdit *senderBox = nullptr; // the sender's user name
    QLabel *titleCaption = nullptr;
    QLineEdit *titleBox = nullptr;
    QLabel *bodyCaption = nullptr;
    QPlainTextEdit *bodyBox = nullptr;
    QLabel *lineBreakCaption = nullptr;
    QLabel *sentDateLabel = nullptr; // date of the last delivery
    QLabel *sentTimeLabel = nullptr; // time of the last delivery
    QPushButton *sendButton = nullptr;
    QPushButton *clearButton = nullptr; // empties the body
    QLabel *pictureCaption = nullptr;
    QPushButton *drawButton = nullptr;
    QPushButton *viewPicturesButton = nullptr;
    QLabel *mailCaption = nullptr;
    QPushButton *readMailButton = nullptr;
    QPushButton *quitButton = nullptr; // starts the sweeper only
    QPushButton *backButton = nullptr; // ようこそへ戻る: back to the menu
    QLabel *envelopeImage = nullptr;
};

} // namespace client
