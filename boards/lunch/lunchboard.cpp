#include "boards/lunch/lunchboard.h"

#include "boards/skeleton/rows.h"
#include "shared/site.h"

namespace boards::lunch {

QString boxName(int column, const QStringList &)
{
    static const QStringList names{QStringLiteral("日付"),    QStringLiteral("曜日"),
                                   QStringLiteral("主食"),    QStringLiteral("副食①"),
                                   QStringLiteral("副食②"),   QStringLiteral("副食③"),
                                   QStringLiteral("副食④"),   QStringLiteral("飲み物①"),
                                   QStringLiteral("飲み物②"), QStringLiteral("総カロリー量")};
    return names.value(column - 1);
}

QStringList fileHeading()
{
    return {QStringLiteral("日付"),      QStringLiteral("曜日"),    QStringLiteral("主食"),
            QStringLiteral("副食①"),     QStringLiteral("副食②"),   QStringLiteral("副食③"),
            QStringLiteral("副食④"),     QStringLiteral("飲み物①"), QStringLiteral("飲み物②"),
            QStringLiteral("総カロリー")};
}

BoardFiles lunchBoardFiles()
{
    return BoardFiles{perumina::site::kLunchMenu, false, &boxName};
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

} // namespace boards::lunch
