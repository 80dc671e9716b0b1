#include "client/ui/form09.h"

#include "client/ui/clientapp.h"

namespace client {

Form09::Form09(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form09"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
}

} // namespace client
