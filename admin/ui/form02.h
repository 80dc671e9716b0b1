#pragma once

#include <QString>
#include <QWidget>

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
class Form02 : public QWidget
{
    Q_OBJECT
public:
    explicit Form02(AdminApp &app, QWidget *parent = nullptr);

    QFrame *Frame1;
    QLabel *Label19;
    QLabel *Label11;
    QLabel *Label14;
    QLabel *Label17;
    QLabel *Label15;
    QLabel *Label18;
    QLabel *Label16;
    QLabel *Label12;
    QPushButton *Command3;
    QPushButton *Command9;
    QLabel *Label2;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;
    QLabel *Label41;
    QLabel *Label42;
    QLabel *Label43;
    LogView *Text2;
    QLabel *Label3;
    QLabel *Label9;
    QLabel *Label4;
    QLabel *Label10;
    QListWidget *List1;
    QLabel *Label20;
    QListWidget *Dir1; // the administration folder, the folders opened below it, and their subfolders
    QListWidget *File1;
    QLabel *Image1;
    QPushButton *Command13;
    QPushButton *Command14;
    QPushButton *Command4;
    QPushButton *refreshButton;
    QLineEdit *searchBox;
    QLabel *searchCountLabel;
    QPushButton *resetPasswordButton;
    QPushButton *retireButton;

    // The folder Dir1 and File1 show.
    QString dirPath() const { return dirPath_; }
    QString filePath() const { return filePath_; }
    // Changes the folder of Dir1 (as opening a folder in it does) and runs Dir1_Change.
    void setDirPath(const QString &folder);
    // The file Image1 shows, empty before the first picture.
    QString shownPicture() const { return shownPicture_; }

    void Form_Load();
    void Dir1_Change();
    void Dir1_DblClick(QListWidgetItem *item);
    void File1_DblClick(QListWidgetItem *item);
    void Command3_Click();
    void Command9_Click();
    void Command13_Click();
    void Command14_Click();
    void Command4_Click();
    void refresh();
    void search();
    void resetPassword();
    void retire();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void placeNamePieces();
    void fillDir1();
    // Reads the log, the users and the administration folder, as loading does.
    void readAll();
    // The registered people chosen in List1, as 管理情報.txt names them.
    QList<QStringList> chosenPeople() const;
    // The staff's rights and a usable administration record, said in a message when missing.
    bool mayChangeRegistry();
    void record(const QString &what);

    AdminApp &app_;
    QString rootPath_;
    QString dirPath_;
    QString filePath_;
    QString shownPicture_;
};

} // namespace admin
