#pragma once

#include "boards/lunch/lunchboard.h"
#include "boards/skeleton/ui/boardprint.h"
#include "boards/skeleton/ui/boardscreen.h"

#include <array>

class QFrame;
class QLineEdit;
class QPushButton;

namespace boards::lunch {

// The lunch menu board: LunchBoardS (administrator, writes back) or LunchBoardC (classroom). Its
// menuBoxes menuBox1 .. menuBox8 hold columns 3 to 10 of the day's row: the main dish, four side
// dishes, two drinks and the calories.
class LunchBoardScreen : public DayRowScreen, public PrintableBoard
{
    Q_OBJECT
public:
    LunchBoardScreen(Variant variant, perumina::Seams seams, QWidget *parent = nullptr);

    Variant variant() const { return variant_; }

    void display() override { showRow(); }
    QStringList rowTexts() const override;
    // The week of the day shown, Monday to Friday and a weekend day that has a menu, for 印刷; the day
    // shown as its boxes show it.
    PrintSheet printSheet() override;

private:
    void buildAdmin();
    void buildClassroom();
    QLineEdit *makeMenuBox(int number, QRect geometry);
    void showRow();
    // "表示データを更新する" (LunchBoardS only): columns 1 to 10.
    void writeBack();
    // "閉じる" (S) or "ようこそへ戻る" (C).
    void closeBoard();

    Variant variant_;
    QPushButton *updateButton = nullptr; // S only
    QPushButton *closeButton = nullptr;
    QPushButton *printButton = nullptr;
    QFrame *menuFrame = nullptr;
    std::array<QLineEdit *, kMenuFields> menuBoxes{};
};

} // namespace boards::lunch
