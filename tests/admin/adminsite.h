#pragma once

#include <QImage>
#include <QString>

// Writes a site as the classroom clients leave it, in the formats they write: registrations in the four
// registry files with both user folders, mails as six-field records in the log, and illustrations as
// bitmaps named title + ".jpg" in the user folder and its administration copy folder.
namespace admin_fixture {

void registerUser(const QString &server, const QString &userName, const QString &fullName,
                  const QString &password);

void sendMail(const QString &server, const QString &date, const QString &time, const QString &sender,
              const QString &recipientFullName, const QString &title, const QString &body);

// A small picture of one colour with a mark in its corner, so that two pictures differ.
QImage samplePicture(const QColor &colour, int width = 120, int height = 90);
void sendPicture(const QString &server, const QString &recipientFullName, const QString &title,
                 const QImage &picture);

// The record line of the mail log for one mail, CR LF included.
QString logRecord(const QString &date, const QString &time, const QString &sender, const QString &recipient,
                  const QString &title, const QString &body);

} // namespace admin_fixture
