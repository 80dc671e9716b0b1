#pragma once

#include "boards/daily/dayboard.h"
#include "boards/skeleton/ui/boardprint.h"
#include "boards/skeleton/ui/boardscreen.h"

#include <array>

class QPlainTextEdit;
class QPushButton;

namespace boards::daily {

// The daily schedule board: DayBoardS (administrator, editable, writes back) or DayBoardC
// (classroom, read-only). Its boxes hold columns 3 to 35 of the day's row: eventBoxes eventBox1 ..
// eventBox3 the school's events, gradeEventBoxes gradeEventBox1 .. gradeEventBox3 each grade's, and
// timetableBoxes timetableBoxG_S (grade G 1 to 3, time slot S 1 to 9) the timetable, grade by grade.
class DayBoardScreen : public DayRowScreen, public PrintableBoard
{
    Q_OBJECT
public:
    DayBoardScreen(Variant variant, perumina::Seams seams, QWidget *parent = nullptr);

    Variant variant() const { return variant_; }

    void display() override { showRow(); }
    QStringList rowTexts() const override;
    // The day as shown, for 印刷.
    PrintSheet printSheet() override;

private:
    void build();
    void showRow();
    // "表示データを更新する" (DayBoardS only).
    void writeBack();
    // "閉じる" (S) or "ようこそへ戻る" (C).
    void closeBoard();
    QPlainTextEdit *columnBox(int column) const;
    QString columnText(int column) const;

    Variant variant_;
    QPushButton *updateButton = nullptr; // S only
    QPushButton *closeButton = nullptr;
    QPushButton *printButton = nullptr;
    std::array<QPlainTextEdit *, 3> eventBoxes{};
    std::array<QPlainTextEdit *, 3> gradeEventBoxes{};
    std::array<QPlainTextEdit *, 3 * kSlots> timetableBoxes{}; // grade by grade, slot by slot
};

} // namespace boards::daily
