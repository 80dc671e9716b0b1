#include "client/ui/form05.h"

#include "client/ui/clientapp.h"

namespace client {

Form05::Form05(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form05"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
}

} // namespace client
