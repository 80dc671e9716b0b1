#include "client/ui/form03.h"

#include "client/ui/clientapp.h"

namespace client {

Form03::Form03(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form03"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
    Text15 = new QLineEdit(this);
    Text15->setObjectName(QStringLiteral("Text15"));
    Text15->hide();
    Text14 = new QLineEdit(this);
    Text14->setObjectName(QStringLiteral("Text14"));
    Text14->hide();
}

} // namespace client
