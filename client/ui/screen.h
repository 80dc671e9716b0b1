#pragma once

#include <QWidget>

class QPushButton;

namespace client {

class ClientApp;

// What every screen of the client shares: it moves to another screen by hiding itself, closing its
// window starts the sweeper and ends the whole program, and Enter presses its default button.
class Screen : public QWidget
{
    Q_OBJECT
public:
    explicit Screen(ClientApp &app, QWidget *parent = nullptr);

protected:
    // Hides this screen and shows next.
    void goTo(QWidget *next);
    // The button Enter presses; none where a screen handles Enter itself.
    virtual QPushButton *defaultButton() const { return nullptr; }

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    ClientApp &app_;
};

} // namespace client
