#include "boards/skeleton/workbook.h"

#include "shared/sharedfile.h"
#include "shared/textfile.h"

#include <QFileInfo>

using perumina::Status;

namespace boards {

std::optional<int> parseRowNumber(const QString &rowText)
{
    bool ok = false;
    const int row = rowText.trimmed().toInt(&ok);
    if (!ok || row < 1)
        return std::nullopt;
    return row;
}

QString fileNameOf(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(slash + 1);
}

static QByteArray cellOf(const QList<CsvRow> &rows, int row, int column)
{
    if (row < 1 || row > rows.size() || column < 1 || column > rows[row - 1].size())
        return QByteArray();
    return rows[row - 1][column - 1];
}

Status Workbook::open(const QString &path)
{
    quit();
    if (!QFileInfo::exists(path))
        return Status::failure(QStringLiteral("%1 が見つかりません。").arg(path));
    const auto bytes = perumina::readFileBytes(path);
    if (!bytes)
        return Status::failure(QStringLiteral("%1 を読めませんでした。").arg(path));
    CsvTable table = parseCsv(*bytes);
    rows_ = std::move(table.rows);
    unclosedQuote_ = table.unclosedQuote;
    path_ = path;
    open_ = true;
    return Status::success();
}

QString Workbook::cell(const QString &row, int column) const
{
    const auto r = parseRowNumber(row);
    if (!open_ || !r || column < 1)
        return QString();
    const auto edited = written_.constFind({*r, column});
    if (edited != written_.cend())
        return perumina::decodeCp932(edited->value);
    if (*r > rows_.size() || column > rows_[*r - 1].size())
        return QString();
    return perumina::decodeCp932(rows_[*r - 1][column - 1]);
}

static Status badCell(const QString &row)
{
    return Status::failure(QStringLiteral("行番号「%1」に書き込めません。").arg(row.trimmed()));
}

static bool inSheet(int row, int column)
{
    return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns;
}

Status Workbook::setCell(const QString &row, int column, const QString &value)
{
    const auto r = parseRowNumber(row);
    if (!open_)
        return Status::failure(QStringLiteral("データファイルが開かれていません。"));
    if (!r || !inSheet(*r, column))
        return badCell(row);
    const auto bytes = perumina::encodeCp932(value);
    if (!bytes)
        return Status::failure(perumina::unencodableMessage(QString()));
    put(*r, column, *bytes, cellOf(rows_, *r, column), cellOf(rows_, *r, 1));
    return Status::success();
}

Status Workbook::setCells(int row, const CsvRow &asRead, const QMap<int, QString> &values)
{
    if (!open_)
        return Status::failure(QStringLiteral("データファイルが開かれていません。"));
    QMap<int, QByteArray> encoded;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!inSheet(row, it.key()))
            return badCell(QString::number(row));
        const auto bytes = perumina::encodeCp932(it.value());
        if (!bytes)
            return Status::failure(perumina::unencodableMessage(QString()));
        encoded.insert(it.key(), *bytes);
    }
    for (auto it = encoded.cbegin(); it != encoded.cend(); ++it)
        put(row, it.key(), it.value(), asRead.value(it.key() - 1), asRead.value(0));
    return Status::success();
}

void Workbook::put(int row, int column, const QByteArray &value, const QByteArray &base,
                   const QByteArray &rowKey)
{
    // A cell written again still replaces what was read, not this workbook's own earlier value.
    const auto earlier = written_.find({row, column});
    if (earlier != written_.end())
        earlier->value = value;
    else
        written_.insert({row, column}, Written{value, base});
    if (!rowKeys_.contains(row))
        rowKeys_.insert(row, rowKey);
}

void Workbook::discardWrites()
{
    written_.clear();
    rowKeys_.clear();
}

CsvRow Workbook::readRow(int row) const
{
    return row >= 1 && row <= rows_.size() ? rows_[row - 1] : CsvRow();
}

// Only the staff-room boards write, and the staff are the ones who look after the share: the cause,
// without the shared wording's request to tell a teacher, and what to look at.
static QString saveFailure(const QString &file, const Status &status)
{
    using Kind = Status::Kind;
    const QString head = QStringLiteral("%1 を保存できませんでした。").arg(file);
    const qsizetype stop = status.error.indexOf(u'。');
    const QString cause = stop < 0 ? status.error : status.error.left(stop + 1);
    switch (status.kind) {
    case Kind::NoPermission:
        return head + cause +
               QStringLiteral("共有フォルダ「ぺるみな」の管理データのファイルと権限を確認して下さい。");
    case Kind::DiskFull:
        return head + cause + QStringLiteral("サーバーのディスクに空きを作って下さい。");
    default:
        return head + status.error;
    }
}

SaveResult Workbook::save()
{
    SaveResult result;
    if (!open_ || written_.isEmpty())
        return result;
    QList<CsvRow> disk;
    const Status status = perumina::rewriteLocked(path_, [&](QByteArray &content, bool existed) {
        disk = parseCsv(content).rows;
        for (auto it = rowKeys_.cbegin(); it != rowKeys_.cend(); ++it)
            if (!existed || cellOf(disk, it.key(), 1) != it.value())
                result.replaced = true;
        if (result.replaced)
            return false;
        for (auto it = written_.cbegin(); it != written_.cend(); ++it) {
            const QByteArray now = cellOf(disk, it.key().first, it.key().second);
            if (now != it->base && now != it->value)
                result.conflicts.append({it.key().first, it.key().second, now, it->value});
        }
        if (!result.conflicts.isEmpty())
            return false;
        CsvCells cells;
        for (auto it = written_.cbegin(); it != written_.cend(); ++it)
            cells.insert(it.key(), it->value);
        // Only the written cells change: a file saved by hand keeps its quoting and line ends.
        content = spliceCsv(content, cells);
        disk = parseCsv(content).rows;
        return true;
    });
    if (!status) {
        result.ok = false;
        result.kind = status.kind;
        result.error = saveFailure(fileNameOf(path_), status);
        return result;
    }
    if (result.replaced) {
        result.ok = false;
        result.error =
            QStringLiteral("%1 は、このボードが読んだ後で置き換えられています（新しい年度、手作業で行が"
                           "動いた、または表計算ソフトが日付の書き方を変えました）。何も書き込んでいません。"
                           "ボードを閉じて、開き直して下さい。")
                .arg(fileNameOf(path_));
        return result;
    }
    rows_ = disk;
    if (!result.conflicts.isEmpty()) {
        result.ok = false;
        result.error = QStringLiteral("%1 の %2 行目の %3 列目は、ほかのコンピュータで変更されています。"
                                      "何も書き込んでいません。")
                           .arg(fileNameOf(path_))
                           .arg(result.conflicts.first().row)
                           .arg(result.conflicts.first().column);
        return result;
    }
    discardWrites();
    return result;
}

void Workbook::quit()
{
    open_ = false;
    unclosedQuote_ = false;
    rows_.clear();
    discardWrites();
}

} // namespace boards
