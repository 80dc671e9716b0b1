#include "boards/skeleton/workbook.h"

#include "shared/paths.h"
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

QString fileNameOf(const QString &systemPath)
{
    const qsizetype slash = std::max(systemPath.lastIndexOf(u'\\'), systemPath.lastIndexOf(u'/'));
    return systemPath.mid(slash + 1);
}

static void putCell(QList<CsvRow> &rows, int row, int column, const QByteArray &value)
{
    while (rows.size() < row)
        rows.append(CsvRow{QByteArray()});
    CsvRow &target = rows[row - 1];
    while (target.size() < column)
        target.append(QByteArray());
    target[column - 1] = value;
}

Status Workbook::open(const QString &path)
{
    quit();
    const QString mapped = perumina::mapPath(path);
    if (!QFileInfo::exists(mapped))
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
        return perumina::decodeCp932(*edited);
    if (*r > rows_.size() || column > rows_[*r - 1].size())
        return QString();
    return perumina::decodeCp932(rows_[*r - 1][column - 1]);
}

Status Workbook::setCell(const QString &row, int column, const QString &value)
{
    const auto r = parseRowNumber(row);
    if (!open_)
        return Status::failure(QStringLiteral("データファイルが開かれていません。"));
    if (!r || *r > kMaxRows || column < 1 || column > kMaxColumns)
        return Status::failure(QStringLiteral("行番号「%1」に書き込めません。").arg(row.trimmed()));
    const auto bytes = perumina::encodeCp932(value);
    if (!bytes)
        return Status::failure(perumina::unencodableMessage(QString()));
    written_.insert({*r, column}, *bytes);
    return Status::success();
}

Status Workbook::save()
{
    if (!open_ || written_.isEmpty())
        return Status::success();
    QList<CsvRow> merged;
    const Status status = perumina::rewriteLocked(path_, [&](QByteArray &content, bool) {
        merged = parseCsv(content).rows;
        for (auto it = written_.cbegin(); it != written_.cend(); ++it)
            putCell(merged, it.key().first, it.key().second, it.value());
        content = writeCsv(merged);
        return true;
    });
    if (!status)
        return Status::failure(
            QStringLiteral("%1 を保存できませんでした。%2").arg(fileNameOf(path_), status.error),
            status.kind);
    rows_ = merged;
    written_.clear();
    return status;
}

void Workbook::quit()
{
    open_ = false;
    unclosedQuote_ = false;
    rows_.clear();
    written_.clear();
}

} // namespace boards
