#include "tools/tour/tourkit.h"

#include "shared/records.h"
#include "shared/site.h"
#include "sweeper/sweep.h"

#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

namespace tour {

Camera::Camera(QString folder, QTextStream &out) : folder_(std::move(folder)), out_(out) {}

void Camera::clearOldPictures() const
{
    static const QRegularExpression numbered(QStringLiteral("^\\d\\d-.*\\.(png|pdf)$"));
    const QDir dir(folder_);
    for (const QString &name : dir.entryList(QDir::Files)) {
        if (numbered.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
}

QString Camera::take(QWidget *screen, const QString &name)
{
    if (!QDir().mkpath(folder_))
        throw StepFailed{QStringLiteral("フォルダ %1 を作れませんでした。").arg(folder_)};
    if (!screen->isVisible())
        screen->show();
    if (!QTest::qWaitForWindowExposed(screen))
        throw StepFailed{QStringLiteral("%1 が画面に出ませんでした。").arg(screen->objectName())};
    // Layouts and late paints settle before the picture is taken.
    QCoreApplication::processEvents();
    const QPixmap picture = screen->grab();
    if (picture.isNull())
        throw StepFailed{QStringLiteral("%1 の画面を写せませんでした。").arg(screen->objectName())};
    const QString path =
        QDir(folder_).filePath(QStringLiteral("%1-%2.png").arg(next_, 2, 10, QLatin1Char('0')).arg(name));
    if (!picture.save(path, "PNG"))
        throw StepFailed{QStringLiteral("%1 を書き込めませんでした。").arg(path)};
    ++next_;
    taken_.append(path);
    out_ << QDir::cleanPath(QFileInfo(path).absoluteFilePath()) << Qt::endl;
    return path;
}

QString Camera::print(const QString &name, const std::function<bool(QPagedPaintDevice &)> &render)
{
    if (!QDir().mkpath(folder_))
        throw StepFailed{QStringLiteral("フォルダ %1 を作れませんでした。").arg(folder_)};
    const QString path = QDir(folder_).filePath(name + QStringLiteral(".pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    if (!render(printer) || !QFileInfo(path).isFile())
        throw StepFailed{QStringLiteral("%1 を書き込めませんでした。").arg(path)};
    out_ << QDir::cleanPath(QFileInfo(path).absoluteFilePath()) << Qt::endl;
    return path;
}

bool TourLauncher::start(const QString &program)
{
    const bool started = RecordingLauncher::start(program);
    if (started && program.compare(perumina::site::sweeperProgram(), Qt::CaseInsensitive) == 0)
        sweeper::sweepInboxCopy();
    return started;
}

QWidget *messageBoxFor(const perumina::RecordingDialogs::Shown &shown, const QString &program)
{
    auto *box = new QMessageBox;
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("MessageBox"));
    switch (shown.icon) {
    case perumina::Dialogs::Icon::None:
        box->setIcon(QMessageBox::NoIcon);
        break;
    case perumina::Dialogs::Icon::Information:
        box->setIcon(QMessageBox::Information);
        break;
    case perumina::Dialogs::Icon::Exclamation:
        box->setIcon(QMessageBox::Warning);
        break;
    case perumina::Dialogs::Icon::Critical:
        box->setIcon(QMessageBox::Critical);
        break;
    }
    box->setWindowTitle(shown.title.isEmpty() ? program : shown.title);
    box->setText(shown.text);
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

QDateTime TourClock::now() const
{
    if (!next_.isValid())
        return QDateTime::currentDateTime();
    const QDateTime now = next_;
    next_ = next_.addSecs(1);
    return now;
}

QWidget *control(QWidget *screen, const QString &name)
{
    if (!screen)
        throw StepFailed{QStringLiteral("画面がありません（%1 を探していました）。").arg(name)};
    auto *found = screen->findChild<QWidget *>(name);
    if (!found)
        throw StepFailed{QStringLiteral("%1 に %2 がありません。").arg(screen->objectName(), name)};
    return found;
}

void expectShown(QWidget *screen, const QString &what)
{
    if (!screen || !screen->isVisible())
        throw StepFailed{QStringLiteral("%1 が表示されていません。").arg(what)};
}

void expectHidden(QWidget *screen, const QString &what)
{
    if (screen && screen->isVisible())
        throw StepFailed{QStringLiteral("%1 が表示されたままです。").arg(what)};
}

void click(QWidget *screen, const QString &name)
{
    auto *button = control<QAbstractButton>(screen, name);
    if (!button->isVisible() || !button->isEnabled())
        throw StepFailed{
            QStringLiteral("%1 の %2（%3）を押せません。").arg(screen->objectName(), name, button->text())};
    QTest::mouseClick(button, Qt::LeftButton);
}

static QString textOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        return plain->toPlainText();
    return QString();
}

// Latin letters and digits are typed key by key; Japanese arrives as an input method commits it.
static void typeLine(QWidget *box, const QString &line)
{
    qsizetype i = 0;
    while (i < line.size()) {
        const bool latin = line[i].unicode() < 0x80;
        qsizetype end = i;
        while (end < line.size() && (line[end].unicode() < 0x80) == latin)
            ++end;
        const QString run = line.mid(i, end - i);
        if (latin) {
            QTest::keyClicks(box, run);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(run);
            QCoreApplication::sendEvent(box, &commit);
        }
        i = end;
    }
}

void type(QWidget *screen, const QString &name, const QString &text)
{
    QWidget *box = control(screen, name);
    if (!qobject_cast<QLineEdit *>(box) && !qobject_cast<QPlainTextEdit *>(box))
        throw StepFailed{
            QStringLiteral("%1 の %2 は文字を入力する欄ではありません。").arg(screen->objectName(), name)};
    box->setFocus();
    const QString before = textOf(box);
    // A line break in a multi-line box is Shift+Enter; a bare Enter presses the default button.
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
        typeLine(box, lines[i]);
    }
    if (textOf(box) != before + text)
        throw StepFailed{QStringLiteral("%1 の %2 に「%3」と入力できませんでした（欄には「%4」）。")
                             .arg(screen->objectName(), name, text, textOf(box))};
}

static void clickItem(QListWidget *list, QListWidgetItem *item, bool doubleClick)
{
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (doubleClick)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void pick(QListWidget *list, const QString &text, bool doubleClick)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        throw StepFailed{QStringLiteral("%1 の一覧に「%2」がありません。").arg(list->objectName(), text)};
    clickItem(list, items.first(), doubleClick);
}

void pickEnding(QListWidget *list, const QString &ending, bool doubleClick)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().endsWith(ending)) {
            clickItem(list, list->item(i), doubleClick);
            return;
        }
    }
    throw StepFailed{QStringLiteral("%1 の一覧に「%2」がありません。").arg(list->objectName(), ending)};
}

void stroke(QWidget *surface, const QList<QPoint> &points)
{
    if (points.isEmpty())
        return;
    QTest::mousePress(surface, Qt::LeftButton, {}, points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        QTest::mouseMove(surface, points[i]);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, points.last());
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace tour
