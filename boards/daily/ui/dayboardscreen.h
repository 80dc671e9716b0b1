#pragma once

#include "boards/daily/dayboard.h"
#include "boards/skeleton/ui/boardprint.h"
#include "boards/skeleton/ui/boardscreen.h"

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace boards::daily {

// The daily schedule board: DayBoardS (administrator, editable, writes back) or DayBoardC
// (classroom, read-only).
class Form1 : public DayRowForm, public PrintableBoard
{
    Q_OBJECT
public:
    Form1(Variant variant, perumina::Seams seams, QWidget *parent = nullptr);

    Variant variant() const { return variant_; }
    QString columnText(int column) const;

    // The display routine: ShowRow in DayBoardS, Command101_Click in DayBoardC.
    void display() override;
    QStringList rowTexts() const override;
    void ShowRow();
    void Command101_Click();
    // "表示データを更新する" (DayBoardS only).
    void Command102_Click();
    // Close button: Command5 "閉じる" (S) or Command14 "ようこそへ戻る" (C).
    void CloseButton_Click();
    // The day as shown, for 印刷.
    PrintSheet printSheet() override;

    QPushButton *Command102 = nullptr; // S only
    QPushButton *Command5 = nullptr;   // S only
    QPushButton *Command14 = nullptr;  // C only
    QPushButton *Command101 = nullptr; // C only, hidden
    QPushButton *printButton = nullptr;
    QLabel *Label8 = nullptr; // C only
    QLabel *Label29 = nullptr;
    QFrame *Frame1 = nullptr;
    QFrame *Frame2 = nullptr;
    QFrame *Frame3 = nullptr;
    QLabel *Label33 = nullptr;
    std::array<QPlainTextEdit *, kColumns + 1> Text{}; // Text[c] for c = 3..35 is Text(100 + c)

private:
    void build();
    Variant variant_;
};

} // namespace boards::daily
