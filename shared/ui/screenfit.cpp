#include "shared/ui/screenfit.h"

#include <QList>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

namespace perumina {

void fitOnSmallScreens(QWidget *form)
{
    const QSize content = form->size();
    if (content.width() <= kLargestWindow.width() && content.height() <= kLargestWindow.height())
        return;

    auto *canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    canvas->setFixedSize(content);
    canvas->setAutoFillBackground(form->autoFillBackground());
    canvas->setPalette(form->palette());
    for (QWidget *control : form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow())
            continue;
        // A control hidden on purpose (a working field) stays hidden; the others show with the canvas.
        const bool hidden = control->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                            control->testAttribute(Qt::WA_WState_Hidden);
        control->setParent(canvas);
        control->setVisible(!hidden);
    }

    auto *scroll = new QScrollArea(form);
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(canvas);
    const int bar = scroll->verticalScrollBar()->sizeHint().width();
    QSize window = content;
    if (window.height() > kLargestWindow.height())
        window = QSize(window.width() + bar, kLargestWindow.height());
    if (window.width() > kLargestWindow.width())
        window = QSize(kLargestWindow.width(), qMin(window.height() + bar, kLargestWindow.height()));
    else // the whole width is shown: only the height scrolls
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form->setFixedSize(window);
    scroll->setGeometry(0, 0, window.width(), window.height());
}

} // namespace perumina
