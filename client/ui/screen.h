#pragma once

#include <QWidget>

namespace client {

class ClientApp;

// The window caption of every client screen.
inline const QString kScreenCaption = QStringLiteral("グループウェア　（ぺる・み・な）");

// What every screen of the client shares: it moves to another screen by hiding itself, and closing its
// window starts the sweeper and ends the whole program.
class Screen : public QWidget
{
    Q_OBJECT
public:
    explicit Screen(ClientApp &app, QWidget *parent = nullptr);

protected:
    // Hides this screen and shows next.
    void goTo(QWidget *next);
    void closeEvent(QCloseEvent *event) override;

    ClientApp &app_;
};

} // namespace client
