#include "boards/skeleton/boardsession.h"

#include "boards/skeleton/steps.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

namespace boards {

using perumina::Dialogs;

static const QString kCrLf = QStringLiteral("\r\n");
// The boards have always spelt the locator with a capital drive letter in their messages.
static const QString kLocatorAsBoardsName = QStringLiteral("C:\\group\\ぺるみな.txt");

QString BoardFiles::indexFile() const
{
    return monthly ? perumina::site::kMonthIndex : perumina::site::kDateIndex;
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
        seams_.dialogs.message(QStringLiteral("%1 を読めません。").arg(kLocatorAsBoardsName) + kCrLf +
                               QStringLiteral("Read Meの「インストールについて」を確認して下さい。"));
        close();
        return;
    }
    if (server->isEmpty()) {
        seams_.dialogs.message(noServerMessage());
        close();
        return;
    }
    serverName_ = *server;

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
    view_.display();
}

QString BoardSession::searchFailure() const
{
    const QString file = files_.indexFile();
    switch (search_.outcome) {
    case MarkerSearch::Outcome::NoFirstMarker:
        return QStringLiteral("%1 に %2 の行がありません。").arg(file, search_.marker1);
    case MarkerSearch::Outcome::NoSecondMarker:
        return QStringLiteral("%1 に %2 の行がありません。").arg(file, search_.marker2);
    case MarkerSearch::Outcome::NoComma:
    case MarkerSearch::Outcome::NotARow:
        return QStringLiteral("%1 の %2 の行に行番号がありません。").arg(file, search_.marker1);
    case MarkerSearch::Outcome::Found:
        break;
    }
    return QString();
}

void BoardSession::step(int delta)
{
    const StepResult result = files_.monthly ? monthStep(currentRow_, delta) : dayStep(currentRow_, delta);
    currentRow_ = result.row;
    if (!result.message.isEmpty())
        seams_.dialogs.message(result.message, Dialogs::Icon::Exclamation, kStepErrorTitle);
    view_.display();
}

void BoardSession::backToToday()
{
    currentRow_ = todayRow_;
    view_.display();
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
    seams_.end.endProgram();
}

} // namespace boards
