#pragma once

#include "client/ui/screen.h"
#include <QImage>
#include <QLabel>
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
class ViewerScreen : public Screen
{
    Q_OBJECT
public:
    explicit ViewerScreen(ClientApp &app, QWidget *parent = nullptr);
    ~ViewerScreen() override;

signals:
    // The double-clicked picture is shown (true) or could not be (false).
    void pictureLoaded(bool shown);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void load();
    void openPicture();
    void loadFinished();
    void showCanvas();
    void showReader();
    void showMailScreen();
    void backToMenu();
    void quit();

    QLabel *nameLabel = nullptr; // the full name of the signed-in user
    QLabel *picturesCaption = nullptr;
    QListWidget *pictureList = nullptr;
    QLabel *openHintCaption = nullptr;
    QLabel *waitHintCaption = nullptr;
    QProgressBar *loadingBar = nullptr; // runs while a picture loads
    QLabel *pictureImage = nullptr;
    QPushButton *drawButton = nullptr;      // イラストを描く
    QPushButton *readMailButton = nullptr;  // メールも見る
    QPushButton *writeMailButton = nullptr; // メールを送る
    QPushButton *quitButton = nullptr;      // 終了
    QPushButton *backButton = nullptr;      // ようこそへ戻る: back to the menu

    QString listedFor_;         // the full name whose folder the list shows
    QString openedFile_;        // the file name last opened
    QThread *loader_ = nullptr; // from an opening until its picture is shown or reported
    std::optional<QImage> loaded_;
};

} // namespace client
