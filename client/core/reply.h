#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace client {

// What the reader's 返信 fills in on the mail screen.

// The full name of the person whose user name sent the mail, from 管理情報.txt ("user,full name,password"
// per record), if that person is still in the list of registered full names. Nothing for someone who
// left (or whose record names no folder the site allows): the reply then has nobody to go to.
std::optional<QString> replyRecipient(const QStringList &adminRecordLines, const QStringList &registered,
                                      const QString &senderUserName);

// "Re: " and the title, at most kMaxTitleLength characters. A title that already begins with "Re:" in
// any case or width, however often, keeps one "Re: " in front, so answering an answer adds nothing.
QString replyTitle(const QString &title);

// Told when the sender of the mail is no longer registered.
QString senderLeftMessage(const QString &senderUserName);

} // namespace client
