#pragma once

#include "client/ui/screen.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <QWidget>

namespace client {

class ClientApp;

// The main menu: mail, illustrations, and the three classroom boards.
class MenuScreen : public Screen
{
    Q_OBJECT
public:
    explicit MenuScreen(ClientApp &app, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void openChoice();
    void quit();
    void backToLogin();
    void showNewMailCount();

    QLabel *titleCaption = nullptr;
    QLabel *introCaption = nullptr;
    QGroupBox *choiceFrame = nullptr;
    QLabel *mailCaption = nullptr;
    QRadioButton *sendMailOption = nullptr;
    QRadioButton *readMailOption = nullptr;
    QLabel *illustrationCaption = nullptr;
    QRadioButton *drawOption = nullptr;
    QRadioButton *viewIllustrationsOption = nullptr;
    QRadioButton *dayBoardOption = nullptr;   // daily schedule board
    QRadioButton *lunchBoardOption = nullptr; // lunch menu board
    QRadioButton *monthBoardOption = nullptr; // monthly events board
    QLabel *envelopeImage = nullptr;
    QLabel *paletteImage = nullptr;
    QLabel *calendarImage = nullptr;
    QPushButton *nextButton = nullptr; // opens the choice (default button)
    QPushButton *backButton = nullptr;
    QPushButton *quitButton = nullptr;
    QLabel *newMailLabel = nullptr; // how many mails came since the last reading
};

} // namespace client
