#include "common/screenshot.h"

#include "common/testsite.h"

#include <QAbstractButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace testing_support {

namespace {

bool isFlat(const QImage &image, const QRect &area)
{
    if (area.isEmpty())
        return true;
    const QRgb first = image.pixel(area.topLeft());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

QString shownText(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *box = qobject_cast<QLineEdit *>(control))
        return box->text();
    return QString();
}

} // namespace

::testing::AssertionResult screenshot(QWidget *window, const QString &name)
{
    const QPixmap picture = window->grab();
    if (picture.isNull())
        return ::testing::AssertionFailure() << qPrintable(name) << ": no picture";
    const QSize size = picture.deviceIndependentSize().toSize();
    if (size != window->size())
        return ::testing::AssertionFailure()
               << qPrintable(name) << ": picture " << size.width() << "x" << size.height() << ", window "
               << window->width() << "x" << window->height();
    const QImage image = picture.toImage();
    const qreal ratio = picture.devicePixelRatio();
    auto pixels = [&](const QRect &area) {
        return QRect((QPointF(area.topLeft()) * ratio).toPoint(), (QSizeF(area.size()) * ratio).toSize()) &
               image.rect();
    };
    if (isFlat(image, pixels(window->rect())))
        return ::testing::AssertionFailure() << qPrintable(name) << ": the picture is one flat colour";
    QStringList blank;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisibleTo(window) || shownText(control).trimmed().isEmpty())
            continue;
        const QRect area(control->mapTo(window, QPoint(0, 0)), control->size());
        if (window->rect().contains(area) && isFlat(image, pixels(area)))
            blank << control->objectName();
    }
    if (!blank.isEmpty())
        return ::testing::AssertionFailure()
               << qPrintable(name) << ": drawn blank: " << qPrintable(blank.join(u' '));
    const QString folder = screensDir();
    if (!folder.isEmpty() && !picture.save(folder + u'/' + name + QStringLiteral(".png")))
        return ::testing::AssertionFailure()
               << qPrintable(name) << ": could not be saved in " << qPrintable(folder);
    return ::testing::AssertionSuccess();
}

} // namespace testing_support
