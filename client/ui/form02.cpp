#include "client/ui/form02.h"

#include "client/ui/clientapp.h"

namespace client {

Form02::Form02(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form02"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
}

} // namespace client
