#include "boards/skeleton/boardsession.h"

#include "boards/skeleton/steps.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCoreApplication>
#include <QMap>

namespace boards {

using perumina::Dialogs;

static const QString kCrLf = QStringLiteral("\r\n");
// The boards have always spelt the locator with a capital drive letter in their messages (on Windows;
// elsewhere the path has none).
static QString locatorAsBoardsName()
{
    QString name = perumina::site::locatorFile();
    if (name.size() > 1 && name[1] == u':')
        name[0] = name[0].toUpper();
    return name;
}

QString BoardFiles::indexFile() const
{
    return monthly ? perumina::site::kMonthIndex : perumina::site::kDateIndex;
}

QString BoardFiles::nameOfBox(int column, const QStringList &row) const
{
    const QString name = boxName ? boxName(column, row) : QString();
    return name.isEmpty() ? QStringLiteral("%1列目").arg(column) : name;
}

QString noServerMessage()
{
    return QStringLiteral("サーバー名が設定されていません。") + kCrLf +
           QStringLiteral("Read Meの「インストールについて」を確認して下さい。");
}

BoardSession::BoardSession(perumina::Seams seams, BoardFiles files, BoardView &view)
    : seams_(seams), files_(std::move(files)), view_(view)
{
}

QString BoardSession::dataPath() const
{
    return perumina::site::dataFile(serverName_, files_.dataFile);
}

QString BoardSession::indexPath() const
{
    return perumina::site::dataFile(serverName_, files_.indexFile());
}

void BoardSession::start()
{
    seams_.dialogs.message(kPleaseWait);
    const auto server = perumina::ReadServerName();
    if (!server) {
        seams_.dialogs.message(QStringLiteral("%1 を読めません。").arg(locatorAsBoardsName()) + kCrLf +
                               QStringLiteral("Read Meの「インストールについて」を確認して下さい。"));
        exitCode_ = 1;
        close();
        return;
    }
    if (server->isEmpty()) {
        seams_.dialogs.message(noServerMessage());
        exitCode_ = 1;
        close();
        return;
    }
    serverName_ = *server;
    // Named as the program is (DayBoardS, ...); the new-year switch refuses while the mark is live.
    presence_.create(serverName_, QCoreApplication::applicationName());

    const QString first =
        files_.monthly ? QStringLiteral("最初の月を表示します。") : QStringLiteral("最初の日を表示します。");
    const auto indexBytes = perumina::readFileBytes(indexPath());
    if (!indexBytes) {
        seams_.dialogs.message(QStringLiteral("%1 を読めません。").arg(indexPath()) + kCrLf + first);
        todayRow_ = QStringLiteral("2");
    } else {
        indexText_ = indexDocument(*indexBytes);
        const QDate today = seams_.clock.today();
        search_ = files_.monthly ? findMonthRow(indexText_, today) : findDateRow(indexText_, today);
        if (search_.found()) {
            todayRow_ = search_.value;
        } else {
            seams_.dialogs.message(searchFailure() + kCrLf + first);
            todayRow_ = QStringLiteral("2");
        }
    }

    const perumina::Status opened = workbook_.open(dataPath());
    if (!opened) {
        seams_.dialogs.message(opened.error + kCrLf + QStringLiteral("ボードを終了します。"));
        exitCode_ = 1;
        close();
        return;
    }
    workbook_.makeVisible();
    if (workbook_.unclosedQuote())
        seams_.dialogs.message(
            QStringLiteral("%1 の最後のセルの引用符が閉じていません。ファイルの終わりまでを読みました。")
                .arg(files_.dataFile));
    view_.showWindow();
    currentRow_ = todayRow_;
    showRow();
}

QString BoardSession::searchFailure() const
{
    const QString file = files_.indexFile();
    const QString line = QStringLiteral("%1 の %2 の行").arg(file, search_.marker1);
    const QString unit = files_.monthly ? QStringLiteral("月") : QStringLiteral("日");
    const int lastRow = files_.monthly ? kLastMonthRow : kLastDayRow;
    QString cause;
    QString mend; // what the staff change in the index
    switch (search_.outcome) {
    case MarkerSearch::Outcome::NoFirstMarker:
        cause = QStringLiteral("%1 に %2 の行がありません。").arg(file, search_.marker1);
        break;
    case MarkerSearch::Outcome::NoSecondMarker:
        cause = QStringLiteral("%1 に %2 の行がありません。").arg(file, search_.marker2);
        break;
    case MarkerSearch::Outcome::OutOfOrder:
        cause = QStringLiteral("%1 の %2 の行が %3 の行より前にあります。")
                    .arg(file, search_.marker2, search_.marker1);
        mend = QStringLiteral("順番に並べて下さい。");
        break;
    case MarkerSearch::Outcome::NoComma:
    case MarkerSearch::Outcome::NotARow:
        cause = QStringLiteral("%1に行番号がありません。").arg(line);
        break;
    case MarkerSearch::Outcome::HeadingRow:
        cause =
            QStringLiteral("%1の行番号が 1 です。%2 の 1 行目は見出しの行です。").arg(line, files_.dataFile);
        mend = QStringLiteral("その%1の行番号（2 以上）を書いて下さい。").arg(unit);
        break;
    case MarkerSearch::Outcome::Duplicate:
        cause = QStringLiteral("%1 に %2 の行が 2 つあります（行番号 %3 と %4）。")
                    .arg(file, search_.marker1, search_.value, search_.otherValue);
        mend = QStringLiteral("どちらか一方を消して下さい。");
        break;
    case MarkerSearch::Outcome::TextAfterRow:
        cause = QStringLiteral("%1の行番号 %2 の後に「%3」があります。")
                    .arg(line, search_.value, search_.trailing);
        mend = QStringLiteral("行番号の後には何も書かないで下さい。");
        break;
    case MarkerSearch::Outcome::PastTheYear:
        cause = QStringLiteral("%1の行番号 %2 は大きすぎます。%3 の%4の行は 2 ～ %5 行目です。")
                    .arg(line, search_.value.trimmed(), files_.dataFile, unit)
                    .arg(lastRow);
        mend = QStringLiteral("正しい行番号に直して下さい。");
        break;
    case MarkerSearch::Outcome::Found:
        return QString();
    }
    // Staff can mend the index themselves; a pupil can only tell someone who can.
    if (!staff_)
        return cause + QStringLiteral("担任の先生に知らせて下さい。");
    return mend.isEmpty() ? cause : cause + mend;
}

void BoardSession::step(int delta)
{
    const StepResult result = files_.monthly ? monthStep(currentRow_, delta) : dayStep(currentRow_, delta);
    currentRow_ = result.row;
    if (!result.message.isEmpty())
        seams_.dialogs.message(result.message, Dialogs::Icon::Exclamation, kStepErrorTitle);
    showRow();
}

void BoardSession::backToToday()
{
    currentRow_ = todayRow_;
    showRow();
}

void BoardSession::showRow()
{
    // Row 1 holds the headings: no board shows or writes it.
    const auto row = parseRowNumber(currentRow_);
    if (!row || *row < 2)
        currentRow_ = QStringLiteral("2");
    view_.display();
    shownRow_ = parseRowNumber(currentRow_).value_or(2);
    shownBytes_ = workbook_.readRow(shownRow_);
    shownTexts_ = view_.rowTexts();
}

// A cell's text in a message: one line, and not too long to read.
static QString quoted(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("…");
    return QStringLiteral("「%1」").arg(text);
}

QString BoardSession::conflictMessage(const QList<CellConflict> &conflicts, const QStringList &now) const
{
    QString text = QStringLiteral("ほかのコンピュータで、次の欄が先に変更されています。まだ何も書き込んで"
                                  "いません。");
    for (const CellConflict &c : conflicts)
        text += kCrLf + QStringLiteral("「%1」　ほかのコンピュータ：%2　このボード：%3")
                            .arg(files_.nameOfBox(c.column, now), quoted(perumina::decodeCp932(c.theirs)),
                                 quoted(now.value(c.column - 1)));
    return text + kCrLf +
           QStringLiteral(
               "このボードの内容で上書きするときは、もう一度「表示データを更新する」を押して下さい。"
               "ほかのコンピュータの内容を見るときは、前後に移ってから戻って下さい。");
}

void BoardSession::refuseReplaced(const QString &message, const QStringList &now)
{
    QString typed = QStringLiteral("%1　%2行目（%3）").arg(files_.dataFile).arg(shownRow_).arg(now.value(0));
    bool any = false;
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (now[i] == shownTexts_.value(i))
            continue;
        typed += u'\n' + QStringLiteral("「%1」：%2").arg(files_.nameOfBox(int(i) + 1, now), now[i]);
        any = true;
    }
    if (any)
        view_.keepTypedText(message, typed);
    else
        seams_.dialogs.message(message, Dialogs::Icon::Exclamation);
}

void BoardSession::update()
{
    if (!workbook_.isOpen() || shownRow_ < 2)
        return;
    const QString fileName = files_.dataFile;
    QStringList now = view_.rowTexts();
    if (replaced_) {
        refuseReplaced(QStringLiteral("%1 が置き換えられたため、書き込めません。ボードを閉じて、開き直して"
                                      "下さい。")
                           .arg(fileName),
                       now);
        return;
    }
    const int lastRow = files_.monthly ? kLastMonthRow : kLastDayRow;
    if (shownRow_ > lastRow) {
        seams_.dialogs.message(QStringLiteral("%1 の %2 行目には書き込みません。%3の行は 2 ～ %4 行目です。")
                                   .arg(fileName)
                                   .arg(shownRow_)
                                   .arg(files_.monthly ? QStringLiteral("月") : QStringLiteral("日"))
                                   .arg(lastRow),
                               Dialogs::Icon::Exclamation);
        return;
    }
    QMap<int, QString> changed;
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (now[i] == shownTexts_.value(i))
            continue;
        // Tab moves between the boxes; one that still got in (pasted from a sheet) is no cell's text.
        now[i].replace(u'\t', u' ');
        if (!perumina::canEncodeCp932(now[i])) {
            seams_.dialogs.message(
                perumina::unencodableMessage(QStringLiteral("「%1」").arg(files_.nameOfBox(int(i) + 1, now))),
                Dialogs::Icon::Exclamation);
            return;
        }
        changed.insert(int(i) + 1, now[i]);
    }
    if (changed.isEmpty())
        return;
    const perumina::Status set = workbook_.setCells(shownRow_, shownBytes_, changed);
    if (!set) {
        seams_.dialogs.message(set.error, Dialogs::Icon::Exclamation);
        return;
    }
    const SaveResult saved = workbook_.save();
    if (saved) {
        for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
            while (shownBytes_.size() < it.key())
                shownBytes_.append(QByteArray());
            shownBytes_[it.key() - 1] = perumina::encodeCp932(it.value()).value_or(QByteArray());
            shownTexts_[it.key() - 1] = it.value();
        }
        return;
    }
    if (saved.replaced) {
        replaced_ = true;
        workbook_.discardWrites();
        refuseReplaced(saved.error, now);
    } else if (!saved.conflicts.isEmpty()) {
        // Told once: what the other computer wrote becomes what this board read, so pressing again
        // overwrites it.
        workbook_.discardWrites();
        for (const CellConflict &c : saved.conflicts) {
            while (shownBytes_.size() < c.column)
                shownBytes_.append(QByteArray());
            shownBytes_[c.column - 1] = c.theirs;
        }
        seams_.dialogs.message(conflictMessage(saved.conflicts, now), Dialogs::Icon::Exclamation);
    } else {
        seams_.dialogs.message(saved.error, Dialogs::Icon::Exclamation);
    }
}

bool BoardSession::close()
{
    if (ended_)
        return true;
    seams_.dialogs.message(kPleaseWait);
    if (workbook_.isOpen()) {
        const perumina::Status saved = workbook_.save();
        if (!saved && !saveRefused_) {
            saveRefused_ = true;
            seams_.dialogs.message(saved.error + kCrLf +
                                       QStringLiteral("もう一度閉じると、保存せずに終了します。"),
                                   Dialogs::Icon::Exclamation);
            return false;
        }
        workbook_.quit();
    }
    endProgram();
    return true;
}

void BoardSession::endProgram()
{
    ended_ = true;
    presence_.remove();
    seams_.end.endProgram(exitCode_);
}

} // namespace boards
