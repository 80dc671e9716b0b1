#pragma once

#include "admin/core/messagelog.h"

#include <QAbstractScrollArea>
#include <QStringList>
#include <memory>
#include <vector>

namespace admin {

// A read-only multi-line text box for the mail log. The log of a whole school year runs to tens of
// thousands of lines; a text document would lay out every one of them when the console loads, so this
// box keeps the lines as they are and paints only those in view. Both scroll bars are always there.
// It shows the log it is given, not a copy: a filter only chooses which of its lines are in view.
class LogView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit LogView(QWidget *parent = nullptr);

    void setLines(const QStringList &lines);
    void setLog(std::shared_ptr<const MessageLog> log);
    const MessageLog &log() const { return *log_; }
    // Shows only the records whose sender, recipient, subject or body contain text (all lines when it
    // is empty); gives how many records are shown.
    qsizetype setFilter(const QString &text);
    int shownLineCount() const { return int(rows_.size()); }
    // Every line in view followed by a line end, as the box shows it.
    QString toPlainText() const;
    // Copies the whole text to the clipboard (also Ctrl+C and the context menu).
    void copyAll() const;

    // The first line in view.
    int firstVisibleLine() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void measure();
    void updateScrollBars();
    int lineHeight() const;
    int visibleLineCount() const;

    QStringView row(int i) const { return log_->line(rows_[i]); }

    std::shared_ptr<const MessageLog> log_ = std::make_shared<MessageLog>();
    std::vector<int> rows_; // the lines of the log in view, in file order
    int contentWidth_ = 0;
};

} // namespace admin
