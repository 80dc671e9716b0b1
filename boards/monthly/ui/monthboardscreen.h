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

// The monthly events board: MonthBoardS (administrator, writes back) or MonthBoardC (classroom). The
// month shows as a calendar of slots k = 1 to 37, week row by week row from Sunday: dayLabels dayLabel1
// .. dayLabel37 hold the day numbers and eventBoxes eventBox1 .. eventBox37 the events, under
// weekdayCaptions weekdayCaption1 (Sunday) .. weekdayCaption7 (Saturday).
class MonthBoardScreen : public BoardScreen, public PrintableBoard
{
    Q_OBJECT
public:
    MonthBoardScreen(Variant variant, perumina::Seams seams, QWidget *parent = nullptr);

    Variant variant() const { return variant_; }

    void display() override { showRow(); }
    QStringList rowTexts() const override;
    // The month's calendar as shown, on a landscape page, for 印刷.
    PrintSheet printSheet() override;

private:
    void build();
    void showRow();
    void showPreviousMonth();
    void showThisMonth();
    void showNextMonth();
    // "表示データを更新する" (MonthBoardS only): the 75 fields of the month shown.
    void writeBack();
    // "閉じる" (S) or "ようこそへ戻る" (C).
    void closeBoard();

    Variant variant_;
    QPushButton *updateButton = nullptr; // S only
    QPushButton *closeButton = nullptr;
    QPushButton *previousMonthButton = nullptr;
    QPushButton *thisMonthButton = nullptr;
    QPushButton *nextMonthButton = nullptr;
    QPushButton *printButton = nullptr;
    QLineEdit *monthBox = nullptr;
    std::array<QLabel *, 7> weekdayCaptions{};
    std::array<QLabel *, kSlots> dayLabels{};
    std::array<QPlainTextEdit *, kSlots> eventBoxes{};
};

} // namespace boards::monthly
