#include "admin/core/admincheck.h"

#include "admin/core/admintrust.h"
#include "shared/records.h"
#include "shared/site.h"

namespace admin {

QString noServerMessage()
{
    return QStringLiteral(
        "サーバー名が設定されていません。\r\nRead Meの「インストールについて」を確認して下さい。");
}

QString emptyIdMessage()
{
    return QStringLiteral("ユーザー名を入力して下さい。");
}

QString emptyPasswordMessage()
{
    return QStringLiteral("パスワードを入力して下さい。");
}

QString notRegisteredMessage()
{
    return QStringLiteral("管理者として登録されていません！　または、入力データに誤りがあります。");
}

QString accessFailureMessage()
{
    static const char16_t *const pieces[] = {
        u"データ管理用コンピュータにアクセスできませんでした。以下のいずれかが原因だと思われます。",
        u"可能性の高い順に",
        u"  ①　ネットワーク上の管理用コンピュータへのアクセス権限が切れている。",
        u"  ②　入力したデータに誤りがある。",
        u"  ③　管理用コンピュータの電源が入っていない。",
        u"  ④　管理用コンピュータ名が変更された。",
        u"      　または、管理用コンピュータに管理データフォルダが無い。",
        u"なお、①の場合はマイネットワークから直接アクセスし、一度ネットワーク関係を確認して下さい。",
        u"また、初めて使用した時は④が考えられます。この場合、管理用コンピュータ上で「ぺるみな」",
        u"を一度セットアップし、「ぺるみな」フォルダを共有設定にして下さい。",
    };
    // One CR between lines; the second and seventh line are followed by an empty line.
    QString text;
    for (int i = 0; i < 10; ++i) {
        if (i > 0)
            text += (i == 2 || i == 7) ? QStringLiteral("\r\r") : QStringLiteral("\r");
        text += QString::fromUtf16(pieces[i]);
    }
    return text;
}

AdminCheck checkFields(const QStringList &fields, const QString &id, const QString &password)
{
    const QString credentials = id + password;
    return fields.contains(credentials) ? AdminCheck::Admitted : AdminCheck::NotRegistered;
}

AdminCheck checkAdministrator(const QString &serverName, const QString &id, const QString &password,
                              QString *refusal)
{
    const AdministratorFile file = readAdministratorFile(serverName);
    if (refusal)
        *refusal = file.refusal;
    if (!file.refusal.isEmpty())
        return AdminCheck::Refused;
    if (!file.fields)
        return AdminCheck::Unreadable;
    return checkFields(*file.fields, id, password);
}

} // namespace admin
