#include "client/ui/form01.h"

#include "client/ui/clientapp.h"

namespace client {

Form01::Form01(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form01"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
}

} // namespace client
