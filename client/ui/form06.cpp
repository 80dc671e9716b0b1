#include "client/ui/form06.h"

#include "client/ui/clientapp.h"

namespace client {

Form06::Form06(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form06"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
}

} // namespace client
