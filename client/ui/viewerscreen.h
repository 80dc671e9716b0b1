#pragma once

#include "client/ui/screen.h"
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include <QWidget>
#include <optional>

class QThread;

namespace client {

class ClientApp;

// The illustration viewer: lists the pictures in the logged-in user's folder and shows the one
// double-clicked, stretched into the picture box.
class Form10 : public Screen
{
    Q_OBJECT
public:
    explicit Form10(ClientApp &app, QWidget *parent = nullptr);
    ~Form10() override;

    QLabel *Label2 = nullptr; // the full name of the logged-in user
    QLabel *Label1 = nullptr;
    QListWidget *File1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QProgressBar *Animation1 = nullptr; // runs while a picture loads
    QLabel *Image1 = nullptr;
    QLineEdit *Text1 = nullptr;      // full name naming the listed folder
    QLineEdit *Text2 = nullptr;      // file name last double-clicked
    QPushButton *Command1 = nullptr; // イラストを描く
    QPushButton *Command2 = nullptr; // メールも見る
    QPushButton *Command4 = nullptr; // メールを送る
    QPushButton *Command3 = nullptr; // 終了
    QPushButton *Command7 = nullptr; // ようこそへ戻る

    // True from a double-click until its picture is shown or reported.
    bool isLoading() const { return loader_ != nullptr; }

    void Form_Load();
    void File1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command3_Click();
    void Command7_Click();

signals:
    // The double-clicked picture is shown (true) or could not be (false).
    void pictureLoaded(bool shown);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loadFinished();

    QThread *loader_ = nullptr;
    std::optional<QImage> loaded_;
};

} // namespace client
