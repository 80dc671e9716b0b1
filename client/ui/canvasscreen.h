#pragma once

#include "client/ui/screen.h"
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <QWidget>

class QButtonGroup;
class QFrame;
class QGroupBox;

namespace client {

class ClientApp;
class DrawingSurface;

// The illustration canvas: freehand drawing in 26 colours or the eraser and five widths, signed with
// the sender's name and sent to a registered user as a picture file.
//
// The colour buttons are colourButton1 ... colourButton26, each captioned with its number, and
// eraserButton; the width options are widthOption1 ... widthOption5, thinnest first, each beside its
// name widthNameCaption1 ... widthNameCaption5; ruleLine1 ... ruleLine9 divide the drawing frame.
class CanvasScreen : public Screen
{
    Q_OBJECT
public:
    explicit CanvasScreen(ClientApp &app, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildScreen();
    void layOut();
    void load();
    // The pen width of the chosen width option and the pen colour of the chosen colour button.
    int selectedWidth() const;
    QColor selectedColour() const;

    void chooseRecipient();
    void startStroke(QPoint at);
    void continueStroke(QPoint at);
    void endStroke();
    void send();
    void clearDrawing();
    void showViewer();
    void showMailScreen();
    void showReader();
    void backToMenu();
    void quit();

    QFrame *drawingFrame = nullptr;
    QLabel *widthCaption = nullptr;           // "太さ"
    QLabel *widthArrowCaption = nullptr;      // "↓"
    QList<QRadioButton *> widthOptions;       // pen widths 1, 3, 5, 7, 9
    QList<QLabel *> widthNameCaptions;        // the width names, growing with the width
    QList<QFrame *> ruleLines;                // the rules between the tools
    DrawingSurface *drawingSurface = nullptr; // what the sender draws and sends
    QList<QPushButton *> colourButtons;       // "1" ... "26"
    QPushButton *eraserButton = nullptr;
    QLabel *colourCaption = nullptr; // "色→"
    QGroupBox *recipientFrame = nullptr;
    QLabel *recipientCaption = nullptr;
    QListWidget *recipientList = nullptr;
    QLineEdit *recipientBox = nullptr;
    QLabel *honorificCaption = nullptr;
    QLineEdit *senderBox = nullptr;
    QLabel *titleCaption = nullptr;
    QLineEdit *titleBox = nullptr;
    QLabel *sentDateLabel = nullptr; // date of the last send
    QLabel *sentTimeLabel = nullptr; // time of the last send
    QPushButton *sendButton = nullptr;
    QPushButton *clearButton = nullptr; // 全消去: clears the drawing
    QLabel *pictureCaption = nullptr;
    QPushButton *viewPicturesButton = nullptr;
    QLabel *mailCaption = nullptr;
    QPushButton *writeMailButton = nullptr;
    QPushButton *readMailButton = nullptr;
    QPushButton *quitButton = nullptr;
    QPushButton *backButton = nullptr; // ようこそへ戻る: back to the menu
    QLabel *paletteImage = nullptr;

    QButtonGroup *colours_ = nullptr;
    QButtonGroup *widths_ = nullptr;
    bool drawing_ = false;
    int penWidth_ = 5;
    QPoint last_;
};

} // namespace client
