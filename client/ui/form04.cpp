#include "client/ui/form04.h"

#include "client/ui/clientapp.h"

namespace client {

Form04::Form04(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form04"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
}

} // namespace client
