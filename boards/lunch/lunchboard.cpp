#include "boards/lunch/lunchboard.h"

#include "boards/skeleton/rows.h"
#include "shared/site.h"

namespace boards::lunch {

BoardFiles lunchBoardFiles()
{
    return BoardFiles{perumina::site::kLunchMenu, false};
}

QString windowCaption(Variant variant)
{
    return variant == Variant::Admin ? QStringLiteral("給食予定")
                                     : QStringLiteral("グループウェア　（ぺる・み・な）");
}

QStringList stepCaptions(Variant variant)
{
    if (variant == Variant::Admin)
        return {QStringLiteral("＜＜"), QStringLiteral("＜"), QStringLiteral("◇"), QStringLiteral("＞"),
                QStringLiteral("＞＞")};
    return {QStringLiteral("ず～っと前のメニュを見る"), QStringLiteral("１日前は？"),
            QStringLiteral("今日に戻る"), QStringLiteral("１日後は？"),
            QStringLiteral("ず～っと後のメニューを見る")};
}

QStringList readMenu(const Workbook &book, const QString &row)
{
    return readCells(book, row, 3, kColumns);
}

perumina::Status writeDay(Workbook &book, const QString &row, const QString &date, const QString &weekday,
                          const QStringList &menu)
{
    QStringList values{date, weekday};
    values += menu.mid(0, kMenuFields);
    while (values.size() < kColumns)
        values.append(QString());
    return writeCells(book, row, 1, values);
}

} // namespace boards::lunch
