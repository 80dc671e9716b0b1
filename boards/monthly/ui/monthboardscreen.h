#pragma once

#include "boards/monthly/monthboard.h"
#include "boards/skeleton/ui/boardprint.h"
#include "boards/skeleton/ui/boardscreen.h"

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace boards::monthly {

// The monthly events board: MonthBoardS (administrator, writes back) or MonthBoardC (classroom).
class Form1 : public BoardForm, public PrintableBoard
{
    Q_OBJECT
public:
    Form1(Variant variant, perumina::Seams seams, QWidget *parent = nullptr);

    Variant variant() const { return variant_; }

    // The display of the row in the current row (Command101 "Command101（再表示）").
    void display() override { Command101_Click(); }
    QStringList rowTexts() const override;
    void Command101_Click();
    void Command3_Click(); // one month back
    void Command4_Click(); // this month
    void Command5_Click(); // one month forward
    // "表示データを更新する" (MonthBoardS only): the 75 fields of the month shown.
    void Command1_Click();
    // Close buttons: Command2 "閉じる" (S), Command13 "ようこそへ戻る" (C).
    void Command2_Click();
    void Command13_Click();
    // The month's calendar as shown, on a landscape page, for 印刷.
    PrintSheet printSheet() override;

    QPushButton *Command1 = nullptr;  // S only
    QPushButton *Command2 = nullptr;  // S only
    QPushButton *Command13 = nullptr; // C only
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command101 = nullptr; // hidden
    QPushButton *printButton = nullptr;
    QLabel *Label38 = nullptr; // C only
    QLineEdit *Text52 = nullptr;
    std::array<QLabel *, kSlots + 1> Label{};        // Label[1] .. Label[37]
    std::array<QPlainTextEdit *, kSlots + 1> Text{}; // Text[1] .. Text[37]
    std::array<QLabel *, 8> Heading{};               // Label41 .. Label47 as Heading[1] .. Heading[7]

private:
    void build();
    Variant variant_;
};

} // namespace boards::monthly
