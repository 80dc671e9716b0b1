// deliver_helper SERVER SENDER RECIPIENT TAG COUNT: delivers COUNT mails through the client's own
// delivery, titled "TAG-i", with a body over two lines that holds a comma and quotes. Prints one line
// per delivered mail, so that a test knows when deliveries are under way.
#include "client/core/mail.h"
#include "shared/seams.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 6)
        return 2;
    const int count = args[5].toInt();
    for (int i = 0; i < count; ++i) {
        const QDateTime now = QDateTime::currentDateTime();
        const QString tag = args[4] + QStringLiteral("-%1").arg(i);
        client::Mail mail{perumina::formatDate(now.date()),
                          perumina::formatTime(now.time()),
                          args[2],
                          args[3],
                          tag,
                          QStringLiteral("本文 %1\r\n二行目, \"引用\" です").arg(tag)};
        const client::Delivery delivery = client::deliverMail(args[1], mail);
        if (!delivery.done()) {
            std::fprintf(stderr, "%s\n", qPrintable(client::deliveryMessage(delivery, mail.recipient)));
            return 1;
        }
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
