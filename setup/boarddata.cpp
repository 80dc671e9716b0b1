#include "setup/boarddata.h"

#include "boards/daily/dayboard.h"
#include "boards/lunch/lunchboard.h"
#include "boards/monthly/monthboard.h"
#include "boards/skeleton/csv.h"
#include "boards/skeleton/indexsearch.h"
#include "boards/skeleton/workbook.h"
#include "shared/boardpresence.h"
#include "shared/records.h"
#include "shared/seams.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <optional>
#include <vector>

using perumina::Status;
namespace site = perumina::site;

namespace setup {

namespace {

QByteArray sjis(const QString &text)
{
    return perumina::encodeCp932(text).value_or(QByteArray());
}

boards::CsvRow csvRow(const QStringList &fields)
{
    boards::CsvRow row;
    for (const QString &field : fields)
        row.append(sjis(field));
    return row;
}

// One workbook of a day per row from 1 April to 31 March, after the heading.
QByteArray dayWorkbook(int year, const QStringList &heading)
{
    QList<boards::CsvRow> rows{csvRow(heading)};
    for (QDate d(year, 4, 1); d < QDate(year + 1, 4, 1); d = d.addDays(1))
        rows.append(csvRow({perumina::formatDate(d), QString::number(d.dayOfWeek())}));
    return boards::writeCsv(rows);
}

QString dateIndex(int year)
{
    QString text;
    int row = 2;
    for (QDate d(year, 4, 1); d <= QDate(year + 1, 4, 1); d = d.addDays(1))
        text += perumina::formatDate(d) + u',' + QString::number(row++) + QLatin1String(perumina::kCrLf);
    return text;
}

QString monthIndex(int year)
{
    QString text;
    for (int i = 0; i <= 12; ++i)
        text += boards::monthMarker(QDate(year, 4, 1).addMonths(i)) + u',' + QString::number(2 + i) +
                QLatin1String(perumina::kCrLf);
    return text;
}

QByteArray monthWorkbook(int year)
{
    QList<boards::CsvRow> rows{csvRow(boards::monthly::fileHeading())};
    for (int i = 0; i < 12; ++i) {
        const QDate first = QDate(year, 4, 1).addMonths(i);
        QStringList fields{boards::monthMarker(first)};
        for (int k = 1; k <= boards::monthly::kSlots; ++k)
            fields << QString() << QString();
        const int offset = first.dayOfWeek() % 7; // Sunday first
        for (int day = 1; day <= first.daysInMonth(); ++day)
            fields[2 * (offset + day) - 1] = QString::number(day);
        rows.append(csvRow(fields));
    }
    return boards::writeCsv(rows);
}

} // namespace

int schoolYearOf(const QDate &date)
{
    return date.month() >= 4 ? date.year() : date.year() - 1;
}

void createSchoolYear(const QString &server, int year, Report &report)
{
    const bool ok = ensureFolder(site::dataFolder(server), report) &&
                    ensureTextFile(site::dataFile(server, site::kDateIndex), dateIndex(year), report) &&
                    ensureFile(site::dataFile(server, site::kDayEvents),
                               dayWorkbook(year, boards::daily::fileHeading()), report) &&
                    ensureFile(site::dataFile(server, site::kLunchMenu),
                               dayWorkbook(year, boards::lunch::fileHeading()), report) &&
                    ensureTextFile(site::dataFile(server, site::kMonthIndex), monthIndex(year), report) &&
                    ensureFile(site::dataFile(server, site::kMonthEvents), monthWorkbook(year), report);
    Q_UNUSED(ok);
}

namespace {

// The school year of the data in the data folder: the first date of the date index, else the first
// month of the month index, else the first day of the daily workbook.
std::optional<int> yearOnDisk(const QString &server)
{
    auto firstDate = [&](const QString &file, bool monthly) -> std::optional<QDate> {
        const auto bytes = perumina::readFileBytes(site::dataFile(server, file));
        if (!bytes)
            return std::nullopt;
        const auto rows = boards::parseCsv(*bytes).rows;
        const int at = file == site::kDayEvents ? 1 : 0;
        if (rows.size() <= at || rows[at].isEmpty())
            return std::nullopt;
        const QString text = perumina::decodeCp932(rows[at][0]).trimmed();
        const QDate date =
            monthly ? QDate::fromString(text.left(8) + QStringLiteral("01"), QStringLiteral("yyyy/MM/dd"))
                    : QDate::fromString(text.left(10), QStringLiteral("yyyy/MM/dd"));
        return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
    };
    for (const auto &[file, monthly] :
         {std::pair{site::kDateIndex, false}, std::pair{site::kMonthIndex, true},
          std::pair{site::kDayEvents, false}})
        if (const auto date = firstDate(file, monthly))
            return schoolYearOf(*date);
    return std::nullopt;
}

} // namespace

YearChange startSchoolYear(const QString &server, int year, Report &report, bool goBack)
{
    YearChange change;
    const qsizetype firstCreated = report.created.size();
    // Whatever the switch writes is for every teacher's board to write on: the share's access, not the
    // umask of whoever runs it.
    auto finish = [&] {
        QStringList written = report.created.mid(firstCreated) + change.moved + change.restored;
        if (!change.folder.isEmpty())
            written.prepend(change.folder);
        if (report.status.ok)
            giveShareAccess(server, written, report);
    };
    QStringList present;
    for (const QString &file : site::schoolYearFiles())
        if (QFileInfo::exists(site::dataFile(server, file)))
            present.append(file);
    // Without a year to tell, nothing moves: only what is missing is created, as for the same year.
    if (!present.isEmpty())
        change.oldYear = yearOnDisk(server).value_or(0);
    if (change.oldYear == 0 || change.oldYear == year) {
        createSchoolYear(server, year, report);
        finish();
        return change;
    }

    // The year on disk is the one the boards show; an earlier one comes back only when asked for, and
    // only from its own archived files.
    const QString archive = site::dataFile(server, site::pastYearFolder(year));
    QStringList archived;
    for (const QString &file : site::schoolYearFiles())
        if (QFileInfo::exists(QDir(archive).filePath(file)))
            archived.append(file);
    if (year < change.oldYear) {
        if (!goBack) {
            report.status = Status::failure(
                QStringLiteral("管理データには%1年度のボードデータがあります。前の%2年度に戻すときは、"
                               "年度を戻すことをはっきり指示して下さい（--go-back）。何も変更していません。")
                    .arg(change.oldYear)
                    .arg(year));
            return change;
        }
        if (archived.isEmpty()) {
            report.status = Status::failure(
                QStringLiteral("%1 に%2年度のファイルがないため、戻せません。何も変更していません。")
                    .arg(archive)
                    .arg(year));
            return change;
        }
    }
    const QList<perumina::OpenBoard> open = perumina::openBoards(site::presenceFolder(server));
    if (!open.isEmpty()) {
        report.status = Status::failure(
            QStringLiteral("ボードが開いています: %1。すべてのボードを閉じてから、もう一度実行して下さい。"
                           "何も変更していません。")
                .arg(perumina::describeOpenBoards(open)));
        return change;
    }

    const QString folder = site::dataFile(server, site::pastYearFolder(change.oldYear));
    for (const QString &file : present) {
        if (QFileInfo::exists(QDir(folder).filePath(file))) {
            report.status = Status::failure(
                QStringLiteral("%1 に %2 が既にあります。重ねて移せないため、何も変更していません。")
                    .arg(folder, file));
            return change;
        }
    }
    // A board writes under the file's lock: holding all five, no board is half-way through a save.
    std::vector<std::unique_ptr<perumina::SharedFileLock>> locks;
    for (const QString &file : site::schoolYearFiles()) {
        locks.push_back(std::make_unique<perumina::SharedFileLock>(site::dataFile(server, file)));
        if (!locks.back()->acquire(1000)) {
            report.status = Status::failure(
                QStringLiteral("%1 をボードが使用中です。ボードを閉じてから、もう一度実行して下さい。")
                    .arg(file));
            return change;
        }
    }
    if (!ensureFolder(site::dataFile(server, site::pastYearFolder(change.oldYear)), report))
        return change;
    change.folder = folder;
    for (const QString &file : present) {
        const QString from = site::dataFile(server, file);
        const QString to = QDir(folder).filePath(file);
        if (!QFile::rename(from, to)) {
            report.status =
                Status::failure(QStringLiteral("%1 を %2 に移せませんでした。").arg(from, folder));
            return change;
        }
        change.moved.append(to);
    }
    for (const QString &file : archived) {
        const QString from = QDir(archive).filePath(file);
        const QString to = site::dataFile(server, file);
        if (!QFile::rename(from, to)) {
            report.status = Status::failure(QStringLiteral("%1 を管理データに戻せませんでした。").arg(from));
            return change;
        }
        change.restored.append(to);
    }
    // Emptied, the year's folder goes, so that the year can be moved aside again later.
    if (!archived.isEmpty())
        QDir().rmdir(archive);
    createSchoolYear(server, year, report);
    finish();
    return change;
}

namespace {

// Writes cells that are still empty, so that a second run or real data are left as they are.
void fillEmpty(boards::Workbook &book, const QString &row, int firstColumn, const QStringList &values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        const int column = firstColumn + int(i);
        if (!values[i].isEmpty() && book.cell(row, column).isEmpty())
            book.setCell(row, column, values[i]);
    }
}

QStringList timetable(int weekday, int grade)
{
    static const QStringList subjects{QStringLiteral("国語"),       QStringLiteral("数学"),
                                      QStringLiteral("英語"),       QStringLiteral("理科"),
                                      QStringLiteral("社会"),       QStringLiteral("音楽"),
                                      QStringLiteral("保健体育"),   QStringLiteral("美術"),
                                      QStringLiteral("技術・家庭"), QStringLiteral("道徳")};
    QStringList cells{weekday == 1 ? QStringLiteral("全校朝会") : QStringLiteral("朝読書")};
    for (int period = 0; period < 4; ++period)
        cells << subjects[(weekday * 3 + grade * 2 + period) % subjects.size()];
    cells << (weekday == 3 ? QStringLiteral("図書室開放") : QString());
    cells << subjects[(weekday * 5 + grade + 4) % subjects.size()];
    cells << (weekday == 5   ? QStringLiteral("学級活動")
              : weekday == 3 ? QStringLiteral("総合的な\n学習の時間")
                             : subjects[(weekday + grade * 3 + 7) % subjects.size()]);
    cells << (weekday == 3 ? QStringLiteral("職員会議のため\n部活動なし") : QStringLiteral("部活動"));
    return cells;
}

QStringList dayEvents(int weekday)
{
    switch (weekday) {
    case 1:
        return {QStringLiteral("全校朝会（体育館）"),
                QStringLiteral("生活委員会　朝の挨拶運動"),
                QString(),
                QStringLiteral("校外学習の事前指導"),
                QString(),
                QStringLiteral("進路説明会（6校時）")};
    case 2:
        return {QStringLiteral("避難訓練（3校時）"),    QString(), QString(), QString(),
                QStringLiteral("職場体験の打ち合わせ"), QString()};
    case 3:
        return {QStringLiteral("職員会議（放課後）"),
                QStringLiteral("図書委員会"),
                QString(),
                QStringLiteral("英語スピーチ練習"),
                QStringLiteral("職場体験 事後指導"),
                QStringLiteral("三者面談")};
    case 4:
        return {QStringLiteral("身体測定（1・2校時）"),
                QString(),
                QString(),
                QStringLiteral("歯科検診"),
                QString(),
                QString()};
    case 5:
        return {QStringLiteral("部活動保護者会 18:00～"),
                QStringLiteral("英語検定 申込締切"),
                QString(),
                QString(),
                QStringLiteral("合唱練習"),
                QStringLiteral("実力テスト")};
    case 6:
        return {QStringLiteral("土曜授業参観"), QString(), QString(), QString(), QString(), QString()};
    default:
        return {};
    }
}

QStringList lunchMenu(int weekday)
{
    switch (weekday) {
    case 1:
        return {QStringLiteral("ごはん"),
                QStringLiteral("鶏の照り焼き"),
                QStringLiteral("ひじきの煮物"),
                QStringLiteral("豆腐とわかめのみそ汁"),
                QString(),
                QStringLiteral("牛乳"),
                QString(),
                QStringLiteral("820")};
    case 2:
        return {QStringLiteral("コッペパン"),
                QStringLiteral("ハンバーグ"),
                QStringLiteral("コーンサラダ"),
                QStringLiteral("ミネストローネ"),
                QStringLiteral("りんごゼリー"),
                QStringLiteral("牛乳"),
                QString(),
                QStringLiteral("790")};
    case 3:
        return {QStringLiteral("ソフトめん"),
                QStringLiteral("ミートソース"),
                QStringLiteral("海藻サラダ"),
                QString(),
                QString(),
                QStringLiteral("牛乳"),
                QStringLiteral("みかんジュース"),
                QStringLiteral("760")};
    case 4:
        return {QStringLiteral("麦ごはん"),
                QStringLiteral("カレーライス"),
                QStringLiteral("福神漬け"),
                QStringLiteral("フルーツヨーグルト"),
                QString(),
                QStringLiteral("牛乳"),
                QString(),
                QStringLiteral("850")};
    case 5:
        return {QStringLiteral("ごはん"),           QStringLiteral("さばのみそ煮"),
                QStringLiteral("小松菜のおひたし"), QStringLiteral("けんちん汁"),
                QStringLiteral("のり佃煮"),         QStringLiteral("牛乳"),
                QStringLiteral("ほうじ茶"),         QStringLiteral("780")};
    default:
        return {};
    }
}

QString monthEvent(int day, int weekday)
{
    if (weekday == 7)
        return QString();
    if (weekday == 6)
        return day % 2 ? QStringLiteral("部活動\n練習試合") : QString();
    switch (day % 10) {
    case 1:
        return QStringLiteral("全校朝会\n生徒会役員会");
    case 3:
        return QStringLiteral("避難訓練");
    case 4:
        return QStringLiteral("委員会活動");
    case 6:
        return QStringLiteral("学年集会\n（5校時）");
    case 8:
        return QStringLiteral("職員会議\n午後短縮授業");
    case 9:
        return QStringLiteral("保護者会");
    default:
        return QString();
    }
}

bool saveBook(boards::Workbook &book, Report &report)
{
    const bool wrote = book.hasWrites();
    const Status saved = book.save();
    if (!saved) {
        report.status = saved;
        return false;
    }
    // The demo fills files that this run may just have created; each is reported once.
    const QString path = book.path();
    if (wrote && !report.created.contains(path))
        report.created.append(path);
    return true;
}

} // namespace

void addDemoBoardData(const QString &server, const QDate &today, Report &report)
{
    createSchoolYear(server, schoolYearOf(today), report);
    if (!report.status)
        return;

    const auto index = perumina::readFileBytes(site::dataFile(server, site::kDateIndex));
    if (!index) {
        report.status = Status::failure(QStringLiteral("日付取得.txt を読めませんでした。"));
        return;
    }
    const QString document = boards::indexDocument(*index);
    boards::Workbook days;
    boards::Workbook lunches;
    Status opened = days.open(site::dataFile(server, site::kDayEvents));
    if (opened)
        opened = lunches.open(site::dataFile(server, site::kLunchMenu));
    if (!opened) {
        report.status = opened;
        return;
    }
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    for (QDate d = monday; d < monday.addDays(7); d = d.addDays(1)) {
        const boards::MarkerSearch hit = boards::findDateRow(document, d);
        if (!hit.found())
            continue; // outside the school year of the index
        const int weekday = d.dayOfWeek();
        fillEmpty(days, hit.value, 3, dayEvents(weekday));
        if (weekday <= 5)
            for (int grade = 1; grade <= 3; ++grade)
                fillEmpty(days, hit.value, 9 + (grade - 1) * 9, timetable(weekday, grade));
        fillEmpty(lunches, hit.value, 3, lunchMenu(weekday));
    }
    if (!saveBook(days, report) || !saveBook(lunches, report))
        return;

    const auto monthIndexBytes = perumina::readFileBytes(site::dataFile(server, site::kMonthIndex));
    boards::Workbook months;
    opened = months.open(site::dataFile(server, site::kMonthEvents));
    if (!monthIndexBytes || !opened) {
        report.status =
            opened ? Status::failure(QStringLiteral("年月取得.txt を読めませんでした。")) : opened;
        return;
    }
    const boards::MarkerSearch month = boards::findMonthRow(boards::indexDocument(*monthIndexBytes), today);
    if (!month.found())
        return;
    const QDate first(today.year(), today.month(), 1);
    const int offset = first.dayOfWeek() % 7;
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        const int slot = offset + day;
        // Only slots whose day number is the one this month has, so a changed row is left alone.
        if (months.cell(month.value, 2 * slot) != QString::number(day))
            continue;
        fillEmpty(months, month.value, 2 * slot + 1,
                  {monthEvent(day, QDate(first.year(), first.month(), day).dayOfWeek())});
    }
    saveBook(months, report);
}

} // namespace setup
