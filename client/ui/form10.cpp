#include "client/ui/form10.h"

#include "client/ui/clientapp.h"

namespace client {

Form10::Form10(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
}

} // namespace client
