#include "boards/daily/dayboard.h"

#include "shared/site.h"

namespace boards::daily {

QString boxName(int column, const QStringList &)
{
    static const QStringList fixed{QStringLiteral("日付"),           QStringLiteral("曜日"),
                                   QStringLiteral("行事　１"),       QStringLiteral("行事　２"),
                                   QStringLiteral("行事　３"),       QStringLiteral("学年行事 1学年"),
                                   QStringLiteral("学年行事 2学年"), QStringLiteral("学年行事 3学年")};
    static const QStringList grades{QStringLiteral("一学年"), QStringLiteral("二学年"),
                                    QStringLiteral("三学年")};
    if (column >= 1 && column <= fixed.size())
        return fixed[column - 1];
    if (column > fixed.size() && column <= kColumns) {
        const int slot = column - fixed.size() - 1;
        return grades[slot / kSlots] + u' ' + timeSlotNames()[slot % kSlots];
    }
    return QString();
}

BoardFiles dayBoardFiles()
{
    return BoardFiles{perumina::site::kDayEvents, false, &boxName};
}

QString windowCaption(Variant variant)
{
    return variant == Variant::Admin ? QStringLiteral("今日の日程")
                                     : QStringLiteral("グループウェア　（ぺる・み・な）");
}

QStringList timeSlotNames()
{
    return {QStringLiteral("始業前"), QStringLiteral("1校時"), QStringLiteral("2校時"),
            QStringLiteral("3校時"),  QStringLiteral("4校時"), QStringLiteral("昼休み"),
            QStringLiteral("5校時"),  QStringLiteral("6校時"), QStringLiteral("放課後")};
}

QStringList fileHeading()
{
    QStringList heading{QStringLiteral("日付"),      QStringLiteral("曜日"),     QStringLiteral("行事１"),
                        QStringLiteral("行事２"),    QStringLiteral("行事３"),   QStringLiteral("1学年行事"),
                        QStringLiteral("2学年行事"), QStringLiteral("3学年行事")};
    for (int grade = 1; grade <= 3; ++grade)
        for (const QString &slot : timeSlotNames())
            heading.append(QStringLiteral("%1学年%2").arg(grade).arg(slot));
    return heading;
}

QString timeSlotHeader(int pitch, int fieldWidth, int charWidth)
{
    QString header;
    int x = 0;
    const QStringList names = timeSlotNames();
    for (int i = 0; i < names.size(); ++i) {
        // Half-width digits count half a character.
        int width = 0;
        for (QChar c : names[i])
            width += c.unicode() < 0x80 ? charWidth / 2 : charWidth;
        const int target = i * pitch + (fieldWidth - width) / 2;
        while (x + charWidth / 2 <= target) {
            header += QChar(0x3000);
            x += charWidth;
        }
        header += names[i];
        x += width;
    }
    return header;
}

} // namespace boards::daily
