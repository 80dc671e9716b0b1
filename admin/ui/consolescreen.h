#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace admin {

class AdminApp;
class LogView;

// The administrator console: the mail log, the registered users and the illustration copies, read when
// it loads and again on refreshButton, the buttons that start the administrator boards, a search over
// the log, and the two registry tasks of a school year: a password reset and retiring people.
class ConsoleScreen : public QWidget
{
    Q_OBJECT
public:
    explicit ConsoleScreen(AdminApp &app, QWidget *parent = nullptr);

    // The folder folderList has open and pictureList lists.
    QString dirPath() const { return dirPath_; }
    QString filePath() const { return filePath_; }
    // The file pictureLabel shows, empty before the first picture.
    QString shownPicture() const { return shownPicture_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void placeNamePieces();
    // Reads the administration folder's place, then everything the console shows.
    void load();
    // Reads the log, the users and the administration folder, as loading does.
    void readAll();
    void refresh();
    void search();
    void resetPassword();
    void retire();
    // Opens folder in folderList, as double-clicking it does, and lists its pictures.
    void openFolder(const QString &folder);
    void openChosenFolder(QListWidgetItem *item);
    void fillFolderList();
    void listPictures();
    void showChosenPicture(QListWidgetItem *item);
    void backToLogin();
    void quit();
    void openDayBoard();
    void openLunchBoard();
    void openMonthBoard();
    // The registered people chosen in userList, as 管理情報.txt names them.
    QList<QStringList> chosenPeople() const;
    // The staff's rights and a usable administration record, said in a message when missing.
    bool mayChangeRegistry();
    void record(const QString &what);

    AdminApp &app_;
    QString rootPath_;
    QString dirPath_;
    QString filePath_;
    QString shownPicture_;

    QFrame *headerFrame;
    QLabel *introCaption;
    QLabel *registryTaskCaption;
    // The program's name in five coloured pieces inside registryTaskCaption's brackets, in reading
    // order: namePiece1 to namePiece5 (ぺる, ・, み, ・, な).
    std::array<QLabel *, 5> namePieces;
    QLabel *boardsTaskCaption;
    QPushButton *backButton;
    QPushButton *quitButton;
    QLabel *mailCaption;
    QLabel *dateCaption;
    QLabel *timeCaption;
    QLabel *senderCaption;
    QLabel *recipientCaption;
    QLabel *subjectCaption;
    QLabel *bodyCaption;
    LogView *mailLogView;
    QLabel *usersCaption;
    QLabel *userNameCaption;
    QLabel *fullNameCaption;
    QLabel *passwordCaption;
    QListWidget *userList;
    QLabel *picturesCaption;
    QListWidget *folderList; // the administration folder, the folders opened below it, and their subfolders
    QListWidget *pictureList;
    QLabel *pictureLabel;
    QPushButton *dayBoardButton;
    QPushButton *lunchBoardButton;
    QPushButton *monthBoardButton;
    QPushButton *refreshButton;
    QLineEdit *searchBox;
    QLabel *searchCountLabel;
    QPushButton *resetPasswordButton;
    QPushButton *retireButton;
};

} // namespace admin
