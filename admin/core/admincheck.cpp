#include "admin/core/admincheck.h"

#include "shared/records.h"

namespace admin {

QString noServerMessage()
{
    return QStringLiteral("サーバー名が設定されていません。\r\nRead Meの「インストールについて」を確認して下さい。");
}

QString emptyIdMessage() { return QStringLiteral("ユーザー名を入力して下さい。"); }

QString emptyPasswordMessage() { return QStringLiteral("パスワードを入力して下さい。"); }

QString notRegisteredMessage()
{
    return QStringLiteral("管理者として登録されていません！　または、入力データに誤りがあります。");
}

QString accessFailureMessage()
{
    const QString cr = QStringLiteral("\r");
    return QStringLiteral("データ管理用コンピュータにアクセスできませんでした。以下のいずれかが原因だと思われます。") + cr +
           QStringLiteral("可能性の高い順に") + cr + cr +
           QStringLiteral("  ①　ネットワーク上の管理用コンピュータへのアクセス権限が切れている。") + cr +
           QStringLiteral("  ②　入力したデータに誤りがある。") + cr +
           QStringLiteral("  ③　管理用コンピュータの電源が入っていない。") + cr +
           QStringLiteral("  ④　管理用コンピュータ名が変更された。") + cr +
           QStringLiteral("      　または、管理用コンピュータに管理データフォルダが無い。") + cr + cr +
           QStringLiteral("なお、①の場合はマイネットワークから直接アクセスし、一度ネットワーク関係を確認して下さい。") + cr +
           QStringLiteral("また、初めて使用した時は④が考えられます。この場合、管理用コンピュータ上で「ぺるみな」") + cr +
           QStringLiteral("を一度セットアップし、「ぺるみな」フォルダを共有設定にして下さい。");
}

AdminCheck checkFields(const QStringList &fields, const QString &id, const QString &password)
{
    const QString credentials = id + password;
    return fields.contains(credentials) ? AdminCheck::Admitted : AdminCheck::NotRegistered;
}

AdminCheck checkAdministrator(const QString &serverName, const QString &id, const QString &password)
{
    const auto fields = perumina::ReadFields(perumina::SharePath(serverName, perumina::tails::kAdministrators));
    if (!fields)
        return AdminCheck::Unreadable;
    return checkFields(*fields, id, password);
}

} // namespace admin
