#pragma once

#include <QAbstractScrollArea>
#include <QStringList>
#include <QVector>

namespace admin {

// A read-only multi-line text box for the mail log. The log of a whole school year runs to tens of
// thousands of lines; a text document would lay out every one of them when the console loads, so this
// box keeps the lines as they are and paints only those in view. Both scroll bars are always there.
class LogView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit LogView(QWidget *parent = nullptr);

    void setLines(const QStringList &lines);
    const QStringList &lines() const { return lines_; }
    // Every line followed by a line end, as the box shows it.
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

    QStringList lines_;
    int contentWidth_ = 0;
};

} // namespace admin
