#pragma once

#include "boards/lunch/lunchboard.h"
#include "boards/skeleton/ui/boardprint.h"
#include "boards/skeleton/ui/boardscreen.h"

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace boards::lunch {

// The lunch menu board: LunchBoardS (administrator, writes back) or LunchBoardC (classroom).
class Form1 : public DayRowForm, public PrintableBoard
{
    Q_OBJECT
public:
    Form1(Variant variant, perumina::Seams seams, QWidget *parent = nullptr);

    Variant variant() const { return variant_; }

    // The display routine: Command101_Click in LunchBoardS, ShowRow in LunchBoardC.
    void display() override;
    QStringList rowTexts() const override;
    void Command101_Click();
    void ShowRow();
    // "表示データを更新する" (LunchBoardS only): columns 1 to 10.
    void Command102_Click();
    // Command5: "閉じる" (S) or "ようこそへ戻る" (C).
    void Command5_Click();
    // The week of the day shown, Monday to Friday and a weekend day that has a menu, for 印刷; the day
    // shown as its boxes show it.
    PrintSheet printSheet() override;

    QPushButton *Command102 = nullptr; // S only
    QPushButton *Command5 = nullptr;
    QPushButton *Command101 = nullptr; // S only, hidden
    QPushButton *printButton = nullptr;
    QLabel *Label29 = nullptr;
    QFrame *Frame1 = nullptr;
    std::array<QLineEdit *, kMenuFields + 1> Text{}; // Text[1] .. Text[8]

private:
    void buildAdmin();
    void buildClassroom();
    QLineEdit *makeMenuField(int number, QRect geometry);
    Variant variant_;
};

} // namespace boards::lunch
