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
class Form06 : public Screen
{
    Q_OBJECT
public:
    explicit Form06(ClientApp &app, QWidget *parent = nullptr);

    DrawingSurface *Picture1 = nullptr;
    QFrame *Frame2 = nullptr;
    QLabel *Label10 = nullptr; // "太さ"
    QLabel *Label12 = nullptr; // "↓"
    QLabel *Label9 = nullptr;  // width names, thinnest first
    QLabel *Label14 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label16 = nullptr;
    QLabel *Label17 = nullptr;
    QRadioButton *Option1 = nullptr; // widths 1, 3, 5, 7, 9
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;
    QRadioButton *Option5 = nullptr;
    QList<QFrame *> Line;      // Line1 ... Line9
    QLabel *Label11 = nullptr; // "色→"
    // Opt6 ("1") ... Opt31 ("26") and Opt32, the eraser.
    QPushButton *Opt(int number) const { return opts_.value(number - 6); }
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QLineEdit *Text3 = nullptr; // recipient
    QLabel *Label6 = nullptr;
    QLineEdit *Text2 = nullptr; // sender
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;       // title
    QLabel *Label4 = nullptr;         // date of the last send
    QLabel *Label5 = nullptr;         // time of the last send
    QPushButton *Command27 = nullptr; // 送信
    QPushButton *Command4 = nullptr;  // 全消去
    QLabel *Label7 = nullptr;
    QPushButton *Command28 = nullptr; // 見る
    QLabel *Label8 = nullptr;
    QPushButton *Command1 = nullptr; // 書く
    QPushButton *Command2 = nullptr; // 読む
    QPushButton *Command3 = nullptr; // 終了
    QPushButton *Command5 = nullptr; // ようこそへ戻る
    QLabel *Image1 = nullptr;

    // The pen width of the selected width button and the pen colour of the selected colour button.
    int selectedWidth() const;
    QColor selectedColour() const;

    void Form_Load();
    void List1_Click();
    void Picture1_MouseDown(QPoint at);
    void Picture1_MouseMove(QPoint at);
    void Picture1_MouseUp(QPoint at);
    void Command27_Click();
    void Command4_Click();
    void Command28_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command5_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildScreen();
    void layOut();

    QList<QPushButton *> opts_;
    QButtonGroup *colours_ = nullptr;
    QButtonGroup *widths_ = nullptr;
    bool drawing_ = false;
    int penWidth_ = 5;
    QPoint last_;
};

} // namespace client
