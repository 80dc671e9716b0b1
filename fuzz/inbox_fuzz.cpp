// An inbox is rewritten by every computer that sends a mail and copied by the reader: any bytes must
// read without a crash, and a mail written into an inbox must come back whole at its top.
#include "client/core/mail.h"
#include "shared/textfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = perumina::decodeCp932(bytes);
    const QList<client::InboxRecord> records = client::parseInbox(text);
    qsizetype total = 0;
    for (const client::InboxRecord &record : records)
        for (const QString &field : record.fields())
            total += field.size();
    if (total > text.size())
        abort();

    // A plain mail delivered on top of whatever the inbox holds is read back first and unchanged.
    const client::Mail mail{QStringLiteral("2026/04/08"), QStringLiteral("9:05:03"),
                            QStringLiteral("taro"),       QStringLiteral("山田太郎"),
                            QStringLiteral("遠足"),       QStringLiteral("明日は\r\n晴れ")};
    const auto record = perumina::encodeCp932(client::inboxRecordText(mail));
    if (!record)
        abort();
    const QList<client::InboxRecord> after =
        client::parseInbox(perumina::decodeCp932(client::prependToInbox(*record, bytes)));
    const client::InboxRecord expected{mail.date, mail.time, mail.sender, mail.title, mail.body};
    if (after.isEmpty() || after.first() != expected)
        abort();
    return 0;
}
