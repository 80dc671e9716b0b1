#include "boards/skeleton/ui/boardkeys.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace boards {

static void blankTabs(QPlainTextEdit *box)
{
    QTextDocument *document = box->document();
    QTextCursor found = document->find(QStringLiteral("\t"));
    if (found.isNull())
        return;
    // One edit, so that the box reports one change and Undo takes it back in one step.
    QTextCursor edit(document);
    edit.beginEditBlock();
    for (; !found.isNull(); found = document->find(QStringLiteral("\t"), found))
        found.insertText(QStringLiteral(" "));
    edit.endEditBlock();
}

static void blankTabs(QLineEdit *line)
{
    if (!line->text().contains(u'\t'))
        return;
    const int cursor = line->cursorPosition();
    line->setText(line->text().replace(u'\t', u' '));
    line->setCursorPosition(cursor);
}

void setReadingOrder(const QList<QWidget *> &order)
{
    // A scroll area that holds the screen on a small display scrolls to the focused control by itself;
    // as a stop of its own it would only come between two boxes.
    if (!order.isEmpty()) {
        for (QWidget *up = order.first()->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
            if (auto *scroll = qobject_cast<QAbstractScrollArea *>(up))
                scroll->setFocusPolicy(Qt::NoFocus);
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    for (QWidget *widget : order) {
        if (auto *box = qobject_cast<QPlainTextEdit *>(widget)) {
            box->setTabChangesFocus(true);
            QObject::connect(box, &QPlainTextEdit::textChanged, box, [box] { blankTabs(box); });
        } else if (auto *line = qobject_cast<QLineEdit *>(widget)) {
            QObject::connect(line, &QLineEdit::textEdited, line, [line] { blankTabs(line); });
        }
    }
}

} // namespace boards
