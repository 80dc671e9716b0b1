#include "client/core/illustration.h"
#include "client/core/mail.h"
#include "client/core/newmail.h"
#include "client/core/reply.h"
#include "common/testsite.h"
#include "mailsite.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>

using namespace client;
using namespace perumina;
using testing_support::registerUser;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kHanako = QStringLiteral("佐藤花子");

// A site with two registered users; taro writes to 佐藤花子.
struct MailSite
{
    TempSite site;
    MailSite()
    {
        site.makeSite(kServer);
        registerUser(site, QStringLiteral("taro"), QStringLiteral("山田太郎"), QStringLiteral("pw1"));
        registerUser(site, QStringLiteral("hana"), kHanako, QStringLiteral("pw2"));
    }
    QByteArray inbox(const QString &fullName = kHanako) const
    {
        return site.bytes(perumina::site::inbox(kServer, fullName));
    }
    QByteArray log() const { return site.bytes(perumina::site::messageLog(kServer)); }
};

Mail mailTo(const QString &recipient, const QString &title, const QString &body,
            const QString &time = QStringLiteral("9:05:03"))
{
    return {QStringLiteral("2026/04/08"), time, QStringLiteral("taro"), recipient, title, body};
}

} // namespace

TEST(MailFiles, bothFilesAreExactAfterOneTwoAndThreeDeliveries)
{
    MailSite s;
    const Mail first =
        mailTo(kHanako, QStringLiteral("こんにちは"), QStringLiteral("一行目\r\n二行目\r\n三行目"));
    const Mail second = mailTo(kHanako, QStringLiteral("題名, \"引用\"付き"), QStringLiteral("本文"),
                               QStringLiteral("10:00:00"));
    const Mail third =
        mailTo(kHanako, QStringLiteral("三通目"), QStringLiteral("おわり"), QStringLiteral("13:45:09"));

    const QByteArray r1 = sjis(QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"こんにちは\","
                                              "\"一行目\r\n二行目\r\n三行目\"\r\n"));
    const QByteArray r2 =
        sjis(QStringLiteral("\"2026/04/08\",\"10:00:00\",\"taro\",\"題名, \"引用\"付き\",\"本文\"\r\n"));
    const QByteArray r3 =
        sjis(QStringLiteral("\"2026/04/08\",\"13:45:09\",\"taro\",\"三通目\",\"おわり\"\r\n"));
    const QByteArray l1 =
        sjis(QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"佐藤花子\",\"こんにちは\","
                            "\"一行目\r\n二行目\r\n三行目\"\r\n"));
    const QByteArray l2 = sjis(QStringLiteral(
        "\"2026/04/08\",\"10:00:00\",\"taro\",\"佐藤花子\",\"題名, \"引用\"付き\",\"本文\"\r\n"));
    const QByteArray l3 =
        sjis(QStringLiteral("\"2026/04/08\",\"13:45:09\",\"taro\",\"佐藤花子\",\"三通目\",\"おわり\"\r\n"));

    ASSERT_TRUE(deliverMail(kServer, first).done());
    EXPECT_EQ(s.inbox(), r1 + "\r\n");
    EXPECT_EQ(s.log(), l1);
    ASSERT_TRUE(deliverMail(kServer, second).done());
    EXPECT_EQ(s.inbox(), r2 + r1 + "\r\n\r\n");
    EXPECT_EQ(s.log(), l1 + l2);
    ASSERT_TRUE(deliverMail(kServer, third).done());
    EXPECT_EQ(s.inbox(), r3 + r2 + r1 + "\r\n\r\n\r\n");
    EXPECT_EQ(s.log(), l1 + l2 + l3);
    // The other user's inbox is untouched.
    EXPECT_TRUE(s.inbox(QStringLiteral("山田太郎")).isEmpty());
}

TEST(MailFiles, oldLinesComeBackInOrderEachWithItsLineEnd)
{
    struct Case
    {
        QByteArray old;
        QByteArray after; // after the new record
    } cases[] = {
        {"", "\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n\r\n"},
        {"a\r\nb", "a\r\nb\r\n\r\n"}, // a last line without its line end gains one
        {"\r\n\r\n", "\r\n\r\n\r\n"}, // the empty lines keep growing at the end
        {"x\ny\r\n", "x\ny\r\n\r\n"}, // a lone LF is not a line end of this file
    };
    for (const Case &c : cases)
        EXPECT_EQ(prependToInbox("R\r\n", c.old), "R\r\n" + c.after) << c.old.toStdString();
}

TEST(MailFiles, aMissingInboxInAnExistingFolderCountsAsEmpty)
{
    MailSite s;
    QFile::remove(s.site.local(perumina::site::inbox(kServer, kHanako)));
    ASSERT_TRUE(deliverMail(kServer, mailTo(kHanako, QStringLiteral("t"), QStringLiteral("b"))).done());
    EXPECT_EQ(s.inbox(), sjis(QStringLiteral("\"2026/04/08\",\"9:05:03\",\"taro\",\"t\",\"b\"\r\n\r\n")));
}

TEST(MailDelivery, refusesIncompleteOrUnwritableMailAndWritesNothing)
{
    MailSite s;
    using O = Delivery::Outcome;
    struct Case
    {
        Mail mail;
        O outcome;
        QString field;
        QString message;
    } cases[] = {
        {mailTo(kHanako, QString(), QStringLiteral("b")),
         O::NoTitle,
         {},
         QStringLiteral("タイトルが入力されていません")},
        {mailTo(QString(), QStringLiteral("t"), QStringLiteral("b")),
         O::NoRecipient,
         {},
         QStringLiteral("受信者が選ばれていません")},
        {mailTo(kHanako, QStringLiteral("t"), QString()),
         O::NoBody,
         {},
         QStringLiteral("本文が入力されていません")},
        {mailTo(kHanako, QStringLiteral("𠮷野家"), QStringLiteral("b")), O::Unencodable,
         QStringLiteral("件名"),
         QStringLiteral("件名に使えない文字が含まれています。別の文字に変えて下さい。\n（1文字目の「𠮷」）")},
        // The first refused character is named with its line and column, counted in characters.
        {mailTo(kHanako, QStringLiteral("t"), QStringLiteral("絵文字😀")), O::Unencodable,
         QStringLiteral("本文"),
         QStringLiteral("本文に使えない文字が含まれています。別の文字に変えて下さい。\n（4文字目の「😀」）")},
        {mailTo(kHanako, QStringLiteral("t"), QStringLiteral("一行目\r\n\r\nと€ ¥")), O::Unencodable,
         QStringLiteral("本文"),
         QStringLiteral(
             "本文に使えない文字が含まれています。別の文字に変えて下さい。\n（3行目の2文字目の「€」）")},
        {mailTo(kHanako, QStringLiteral("t"), QStringLiteral("見え\u200Bない")), O::Unencodable,
         QStringLiteral("本文"),
         QStringLiteral("本文に使えない文字が含まれています。別の文字に変えて下さい。\n"
                        "（3文字目の見えない文字（U+200B））")},
        {mailTo(QStringLiteral("鈴木一郎"), QStringLiteral("t"), QStringLiteral("b")),
         O::UnknownRecipient,
         {},
         QStringLiteral("「鈴木一郎」さんは登録されていません。一覧から選んで下さい。")},
        // A typed name must not lead out of the data folder.
        {mailTo(QStringLiteral("..\\管理用"), QStringLiteral("t"), QStringLiteral("b")),
         O::UnknownRecipient,
         {},
         QStringLiteral("「..\\管理用」さんは登録されていません。一覧から選んで下さい。")},
        {mailTo(QStringLiteral("佐藤"), QStringLiteral("t"), QStringLiteral("b")),
         O::UnknownRecipient,
         {},
         QStringLiteral("「佐藤」さんは登録されていません。一覧から選んで下さい。")},
        // What the reader would take as the end of a field: in the title a quote before a comma, in
        // the body (the last field) a quote before a line break.
        {mailTo(kHanako, QStringLiteral("彼は\"はい\", と言った"), QStringLiteral("b")), O::Ambiguous,
         QStringLiteral("件名"),
         QStringLiteral("件名の「\"」のすぐ後に「,」を書くと、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。")},
        // A title is one line; a line break is named as what it is, with or without a quote before it.
        {mailTo(kHanako, QStringLiteral("abc\ndef"), QStringLiteral("b")), O::LineBreak,
         QStringLiteral("件名"), QStringLiteral("件名に改行が含まれています。件名は一行で書いて下さい。")},
        {mailTo(kHanako, QStringLiteral("\"abc\"\r\ndef"), QStringLiteral("b")), O::LineBreak,
         QStringLiteral("件名"), QStringLiteral("件名に改行が含まれています。件名は一行で書いて下さい。")},
        {mailTo(kHanako, QStringLiteral("t"), QStringLiteral("\"引用\"\r\n次の行")), O::Ambiguous,
         QStringLiteral("本文"),
         QStringLiteral("本文の「\"」のすぐ後で改行すると、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。")},
        {mailTo(kHanako, QStringLiteral("t"), QStringLiteral("終わり\"\n")), O::Ambiguous,
         QStringLiteral("本文"),
         QStringLiteral("本文の「\"」のすぐ後で改行すると、メールが正しく届きません。"
                        "「\"」の後に空白を入れるなどして、書き直して下さい。")},
        {mailTo(kHanako, QString(kMaxTitleLength + 1, u'題'), QStringLiteral("b")), O::TooLong,
         QStringLiteral("件名"), QStringLiteral("件名は50文字までにして下さい。")},
        {mailTo(kHanako, QStringLiteral("t"), QString(kMaxBodyLength + 1, u'本')), O::TooLong,
         QStringLiteral("本文"), QStringLiteral("本文は2000文字までにして下さい。")},
    };
    for (const Case &c : cases) {
        const Delivery d = deliverMail(kServer, c.mail);
        EXPECT_EQ(d.outcome, c.outcome) << c.mail.title.toStdString();
        EXPECT_EQ(d.field, c.field);
        EXPECT_EQ(deliveryMessage(d, c.mail.recipient), c.message);
    }
    EXPECT_TRUE(s.inbox().isEmpty());
    EXPECT_FALSE(QFile::exists(s.site.local(perumina::site::messageLog(kServer))));
}

TEST(MailDelivery, theListOffersOnlyNamesThatCanNameAFolder)
{
    MailSite s;
    ASSERT_TRUE(AppendQuotedRecords(site::fullNamesFile(kServer), {"..\\管理用", "a/b", " 空白"}));
    EXPECT_EQ(loadRecipients(kServer), (QStringList{"山田太郎", kHanako}));
}

TEST(MailDelivery, acceptedTextsComeBackWholeFromBothFiles)
{
    MailSite s;
    // Quotes the reader cannot mistake for a field's end, and texts at their length limits (a line
    // break counts once).
    const struct
    {
        QString title, body;
    } cases[] = {
        {QStringLiteral("\"引用\"です"), QStringLiteral("x\",y")},
        {QStringLiteral("終わりに\""), QStringLiteral("終わりに\"")},
        {QStringLiteral("\""), QStringLiteral("\"")},
        {QStringLiteral("a\" ,b"), QStringLiteral("\"a\" \r\n次の行\r\n\"")},
        {QString(kMaxTitleLength, u'題'),
         (QString(kMaxBodyLength / 2 - 1, u'本') + QStringLiteral("\r\n")).repeated(2)},
    };
    QList<InboxRecord> sent;
    for (const auto &c : cases) {
        const Mail mail = mailTo(kHanako, c.title, c.body);
        ASSERT_TRUE(deliverMail(kServer, mail).done()) << c.title.toStdString();
        sent.prepend({mail.date, mail.time, mail.sender, mail.title, mail.body});
    }
    const QList<InboxRecord> inbox = parseInbox(decodeCp932(s.inbox()));
    ASSERT_EQ(inbox.size(), sent.size() + 1); // the empty lines after the mails are one record
    for (qsizetype i = 0; i < sent.size(); ++i)
        EXPECT_EQ(inbox[i], sent[i]) << i;
    const QList<QStringList> log = parseMailRecords(decodeCp932(s.log()), 6);
    ASSERT_EQ(log.size(), sent.size());
    for (qsizetype i = 0; i < sent.size(); ++i)
        EXPECT_EQ(log[i][4] + log[i][5], sent[sent.size() - 1 - i].title + sent[sent.size() - 1 - i].body)
            << i;
}

TEST(MailDelivery, reportsWhatCouldNotBeReached)
{
    using O = Delivery::Outcome;
    const Mail mail = mailTo(kHanako, QStringLiteral("t"), QStringLiteral("b"));
    {
        // The share is gone: nothing can be checked, nothing is written.
        MailSite s;
        QDir(s.site.local(SharePath(kServer, tails::kShare))).removeRecursively();
        const Delivery d = deliverMail(kServer, mail);
        EXPECT_EQ(d.outcome, O::Failed);
        EXPECT_TRUE(d.error.contains(QStringLiteral("登録者一覧.txt"))) << d.error.toStdString();
    }
    {
        // Registered, but the folder is missing: the log is not written either.
        MailSite s;
        QDir(s.site.local(perumina::site::userFolder(kServer, kHanako))).removeRecursively();
        const Delivery d = deliverMail(kServer, mail);
        EXPECT_EQ(d.outcome, O::Failed);
        EXPECT_EQ(deliveryMessage(d, kHanako),
                  QStringLiteral("メールを送信できませんでした。\n佐藤花子さんのフォルダが見つかりません。"));
        EXPECT_TRUE(s.log().isEmpty());
    }
    {
        // No administration folder: the log cannot be written, so the inbox is left alone.
        MailSite s;
        QDir(s.site.local(SharePath(kServer, tails::kAdminFolder))).removeRecursively();
        const Delivery d = deliverMail(kServer, mail);
        EXPECT_EQ(d.outcome, O::Failed);
        EXPECT_TRUE(d.error.contains(QStringLiteral("メッセージ一覧.txt"))) << d.error.toStdString();
        EXPECT_TRUE(s.inbox().isEmpty());
    }
    {
        // The inbox cannot be replaced: the log keeps its record and the user is told the mail did not
        // arrive.
        MailSite s;
        const QString inbox = s.site.local(perumina::site::inbox(kServer, kHanako));
        QFile::remove(inbox);
        QDir().mkpath(inbox + QStringLiteral("/x"));
        const Delivery d = deliverMail(kServer, mail);
        EXPECT_EQ(d.outcome, O::LogOnly);
        EXPECT_TRUE(deliveryMessage(d, kHanako)
                        .startsWith(QStringLiteral("佐藤花子さんの受信箱に書き込めなかったため")));
        EXPECT_FALSE(s.log().isEmpty());
        EXPECT_TRUE(QFileInfo(inbox).isDir());
    }
}

TEST(Recipients, areTheFullNamesInFileOrderForBothScreens)
{
    TempSite site;
    site.makeSite(kServer);
    ASSERT_TRUE(loadRecipients(kServer).has_value());
    EXPECT_TRUE(loadRecipients(kServer)->isEmpty());
    site.writeBytes(site::fullNamesFile(kServer),
                    sjis(QStringLiteral("\"山田太郎\"\r\n\"佐藤花子\"\r\n\"あ\"\r\n")));
    EXPECT_EQ(loadRecipients(kServer).value_or(QStringList()),
              (QStringList{QStringLiteral("山田太郎"), kHanako, QStringLiteral("あ")}));
    EXPECT_FALSE(loadRecipients(QStringLiteral("GONE")).has_value());
}

TEST(MailDelivery, findsSomeoneRegisteredAfterTheListWasLoaded)
{
    MailSite s;
    const auto before = loadRecipients(kServer);
    ASSERT_TRUE(before);
    EXPECT_EQ(*before, (QStringList{QStringLiteral("山田太郎"), kHanako}));
    registerUser(s.site, QStringLiteral("ichi"), QStringLiteral("鈴木一郎"), QStringLiteral("pw3"));
    EXPECT_TRUE(
        deliverMail(kServer, mailTo(QStringLiteral("鈴木一郎"), QStringLiteral("t"), QStringLiteral("b")))
            .done());
}

TEST(InboxReading, splitsRecordsAndKeepsQuotesThatDoNotEndAField)
{
    struct Case
    {
        const char *name;
        QString text;
        QList<QStringList> records;
    } cases[] = {
        {"plain", QStringLiteral("\"d\",\"t\",\"s\",\"ti\",\"b\"\r\n"), {{"d", "t", "s", "ti", "b"}}},
        {"comma in title",
         QStringLiteral("\"d\",\"t\",\"s\",\"a,b\",\"b\"\r\n"),
         {{"d", "t", "s", "a,b", "b"}}},
        {"quotes in title",
         QStringLiteral("\"d\",\"t\",\"s\",\"題名, \"引用\"付き\",\"b\"\r\n"),
         {{"d", "t", "s", "題名, \"引用\"付き", "b"}}},
        // A title holding a quote before a comma is the one case the stored format cannot tell apart:
        // the title ends there, and the rest of the line still stays in its one record.
        {"quote then comma in title",
         QStringLiteral("\"d\",\"t\",\"s\",\"x\",y\",\"b\"\r\n"),
         {{"d", "t", "s", "x", "y\""}}},
        {"quote then comma in body",
         QStringLiteral("\"d\",\"t\",\"s\",\"ti\",\"He said \"hi\", then left\"\r\n"),
         {{"d", "t", "s", "ti", "He said \"hi\", then left"}}},
        {"body over lines",
         QStringLiteral("\"d\",\"t\",\"s\",\"ti\",\"1\r\n2\r\n3\"\r\n\r\n"),
         {{"d", "t", "s", "ti", "1\r\n2\r\n3"}, {"", "", "", "", ""}}},
        // However many, empty lines (or lines of commas) in a row are one record: memory follows mails.
        {"empty lines",
         QStringLiteral("\r\n\r\n,,,\r\n\r\n\"d\",\"t\"\r\n\r\n\r\n"),
         {{"", "", "", "", ""}, {"d", "t", "", "", ""}, {"", "", "", "", ""}}},
        {"fields beyond five skipped", QStringLiteral("a,b,c,d,e,f,g\r\n"), {{"a", "b", "c", "d", "e"}}},
        {"fewer fields", QStringLiteral("\"d\",\"t\"\r\n"), {{"d", "t", "", "", ""}}},
        {"unquoted and last line open", QStringLiteral("d,t,s,ti,b"), {{"d", "t", "s", "ti", "b"}}},
        {"unclosed quote runs to the end",
         QStringLiteral("\"d\",\"t\",\"s\",\"ti\",\"b\r\nrest"),
         {{"d", "t", "s", "ti", "b\r\nrest"}}},
        {"empty text", QString(), {}},
    };
    for (const Case &c : cases) {
        QList<QStringList> got;
        for (const InboxRecord &r : parseInbox(c.text))
            got.append(r.fields());
        EXPECT_EQ(got, c.records) << c.name;
    }
    // However large a planted inbox, the reader keeps the newest kMaxInboxRecords.
    const QList<InboxRecord> many =
        parseInbox(QStringLiteral("a,b,c,d,e\r\n").repeated(kMaxInboxRecords + 3));
    EXPECT_EQ(many.size(), kMaxInboxRecords);
    // The message log's six fields split by the same rules.
    const auto log = parseMailRecords(QStringLiteral("\"d\",\"t\",\"s\",\"r\",\"a\"b\",\"x,\"y\"\"\r\n"), 6);
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0], (QStringList{"d", "t", "s", "r", "a\"b", "x,\"y\""}));
}

TEST(InboxReading, showsARecordUpToItsFirstEmptyValue)
{
    const QList<InboxRecord> table{{"d", "t", "s", "ti", "b"}, {"d", "t", "", "ti", "b"}, {}};
    EXPECT_EQ(showRecord(table, 0).values, (QStringList{"d", "t", "s", "ti", "b"}));
    EXPECT_TRUE(showRecord(table, 0).complete);
    EXPECT_EQ(showRecord(table, 1).values, (QStringList{"d", "t"}));
    EXPECT_FALSE(showRecord(table, 1).complete);
    for (int position : {-1, 2, 3})
        EXPECT_TRUE(showRecord(table, position).values.isEmpty()) << position;

    InboxCursor cursor(table);
    EXPECT_FALSE(cursor.newer().complete);
    EXPECT_EQ(cursor.position(), -1);
    EXPECT_FALSE(cursor.newer().complete);
    EXPECT_EQ(cursor.position(), -1);
    EXPECT_TRUE(cursor.older().complete);
    for (int i = 0; i < 5; ++i)
        cursor.older();
    EXPECT_EQ(cursor.position(), 3); // stops at N
    cursor.newer();
    EXPECT_EQ(cursor.position(), 2);
}

TEST(InboxCopy, replacesTheLocalCopyOrFailsWithoutTouchingIt)
{
    MailSite s;
    ASSERT_TRUE(deliverMail(kServer, mailTo(kHanako, QStringLiteral("t"), QStringLiteral("b"))).done());
    s.site.writeBytes(perumina::site::localInboxCopy(), "old copy");
    ASSERT_TRUE(fetchInbox(kServer, kHanako));
    EXPECT_EQ(s.site.bytes(perumina::site::localInboxCopy()), s.inbox());

    // No such user: the copy stays as it was.
    s.site.writeBytes(perumina::site::localInboxCopy(), "old copy");
    EXPECT_FALSE(fetchInbox(kServer, QStringLiteral("鈴木一郎")));
    EXPECT_EQ(s.site.bytes(perumina::site::localInboxCopy()), "old copy");

    // A read-only copy is not replaced.
    const QString copy = perumina::site::localInboxCopy();
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    EXPECT_FALSE(fetchInbox(kServer, kHanako));
    EXPECT_EQ(s.site.bytes(perumina::site::localInboxCopy()), "old copy");
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(copy);

    // Something else in its place.
    QDir().mkpath(copy);
    EXPECT_FALSE(fetchInbox(kServer, kHanako));
    EXPECT_TRUE(QFileInfo(copy).isDir());
}

TEST(InboxReading, anyTitleWithoutQuoteCommaAndAnyBodyWithoutQuoteLineEndComesBack)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator random(seed);
    const QString alphabet = QStringLiteral("a\",\r\n 表ソ\\");
    auto randomText = [&](int length, bool singleLine) {
        QString text;
        for (int i = 0; i < length; ++i) {
            const QChar c = alphabet[random.bounded(int(alphabet.size()))];
            if (!singleLine || (c != u'\r' && c != u'\n'))
                text += c;
        }
        return text;
    };
    QList<InboxRecord> written;
    QByteArray inbox;
    QByteArray log;
    for (int i = 0; i < 500; ++i) {
        Mail mail = mailTo(kHanako, randomText(1 + random.bounded(12), true),
                           toCrLf(randomText(1 + random.bounded(30), false)));
        // The screen refuses exactly the two cases the unescaped format cannot tell apart.
        const bool ambiguous =
            mail.title.contains(QStringLiteral("\",")) || mail.body.contains(QStringLiteral("\"\r"));
        ASSERT_EQ(titleProblem(mail.title) != StoreProblem::None ||
                      bodyProblem(mail.body) != StoreProblem::None,
                  ambiguous)
            << mail.title.toStdString() << " / " << mail.body.toStdString();
        if (ambiguous)
            continue;
        inbox = prependToInbox(*encodeCp932(inboxRecordText(mail)), inbox);
        log += *encodeCp932(logRecordText(mail));
        written.prepend({mail.date, mail.time, mail.sender, mail.title, mail.body});
    }
    const QList<InboxRecord> read = parseInbox(decodeCp932(inbox));
    ASSERT_EQ(read.size(), written.size() + 1);
    for (qsizetype i = 0; i < written.size(); ++i)
        ASSERT_EQ(read[i], written[i]) << "record " << i << " title " << written[i].title.toStdString();
    const QList<QStringList> logged = parseMailRecords(decodeCp932(log), 6);
    ASSERT_EQ(logged.size(), written.size());
    for (qsizetype i = 0; i < written.size(); ++i)
        ASSERT_EQ(logged[i][5], written[written.size() - 1 - i].body) << "log record " << i;

    // Whatever the bytes, splitting ends and every record has its five fields.
    for (int i = 0; i < 200; ++i)
        for (const InboxRecord &r : parseInbox(randomText(random.bounded(200), false)))
            EXPECT_EQ(r.fields().size(), 5);
}

// A pupil can plant links anywhere on the share and in the local folder; no write may follow one. Each
// row plants a link to a file or folder outside the site and tries the write that would reach it.
TEST(SiteLinks, noWriteFollowsALinkPlantedInTheSite)
{
    const struct Row
    {
        const char *name;
        QString (*link)();           // the path replaced by a link, for the site of the row
        bool toFolder;               // the link points at a folder, else at a file
        std::function<bool()> write; // true when the write claimed success
    } rows[] = {
        {"local inbox copy", [] { return site::localInboxCopy(); }, false,
         [] { return fetchInbox(kServer, kHanako).ok; }},
        {"inbox", [] { return site::inbox(kServer, kHanako); }, false,
         [] { return deliverMail(kServer, mailTo(kHanako, "t", "b")).done(); }},
        {"user folder", [] { return site::userFolder(kServer, kHanako); }, true,
         [] { return deliverMail(kServer, mailTo(kHanako, "t", "b")).done(); }},
        {"message log", [] { return site::messageLog(kServer); }, false,
         [] { return deliverMail(kServer, mailTo(kHanako, "t", "b")).outcome != Delivery::Outcome::Failed; }},
        {"registry file", [] { return site::fullNamesFile(kServer); }, false,
         [] { return AppendQuotedRecords(site::fullNamesFile(kServer), {"x"}).ok; }},
        {"picture copy folder", [] { return site::adminCopyFolder(kServer, kHanako); }, true,
         [] {
             QImage picture(8, 8, QImage::Format_RGB32);
             picture.fill(Qt::white);
             return illustration::store(illustration::toBmp(picture), kServer, kHanako, "春").result ==
                    illustration::StoreResult::Stored;
         }},
        {"board file", [] { return site::dataFile(kServer, site::kDayEvents); }, false,
         [] {
             return rewriteLocked(site::dataFile(kServer, site::kDayEvents),
                                  [](QByteArray &c, bool) {
                                      c = "1,2\r\n";
                                      return true;
                                  })
                 .ok;
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        MailSite s;
        ASSERT_TRUE(deliverMail(kServer, mailTo(kHanako, "first", "b")).done());
        const QString outside = s.site.root() + "/outside";
        QDir().mkpath(outside);
        s.site.writeBytes(outside + "/victim.txt", "victim");
        const QString link = s.site.local(row.link());
        QFile::remove(link);
        QDir(link).removeRecursively();
        ASSERT_TRUE(QFile::link(row.toFolder ? outside : outside + "/victim.txt", link));
        EXPECT_FALSE(row.write());
        EXPECT_EQ(QDir(outside).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"victim.txt"});
        EXPECT_EQ(s.site.bytes(outside + "/victim.txt"), "victim");
    }
}

TEST(Reply, titleCarriesOneReAndFitsTheTitleLimit)
{
    const QString fortySix(46, u'あ');
    const struct
    {
        QString title;
        QString reply;
    } cases[] = {
        {QStringLiteral("遠足のこと"), QStringLiteral("Re: 遠足のこと")},
        {QStringLiteral("Re: 遠足のこと"), QStringLiteral("Re: 遠足のこと")},
        {QStringLiteral("RE:遠足"), QStringLiteral("Re: 遠足")},
        {QStringLiteral("re : Re: 遠足"), QStringLiteral("Re: 遠足")},
        {QStringLiteral("Ｒｅ：遠足"), QStringLiteral("Re: 遠足")},
        {QStringLiteral("Reason"), QStringLiteral("Re: Reason")},
        {QString(), QStringLiteral("Re: ")},
        // At the limit already: answered again it stays as it is; one longer is cut to the limit.
        {QStringLiteral("Re: ") + fortySix, QStringLiteral("Re: ") + fortySix},
        {fortySix + QStringLiteral("いう"), QStringLiteral("Re: ") + fortySix},
        // A character outside the basic plane is never cut in half.
        {QString(45, u'あ') + QStringLiteral("😀"), QStringLiteral("Re: ") + QString(45, u'あ')},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(replyTitle(c.title), c.reply) << c.title.toStdString();
        EXPECT_LE(replyTitle(c.title).size(), kMaxTitleLength);
    }
}

TEST(Reply, goesToTheRegisteredFullNameOfTheSender)
{
    const QStringList records{QStringLiteral("\"taroo,別の人,pw\""), QStringLiteral("\"taro,山田太郎,pw,1\""),
                              QStringLiteral("\"ken,鈴木健,pw\""), QStringLiteral("\"bad,..,pw\"")};
    const QStringList registered{QStringLiteral("別の人"), QStringLiteral("山田太郎"), QStringLiteral("..")};
    EXPECT_EQ(replyRecipient(records, registered, QStringLiteral("taro")), QStringLiteral("山田太郎"));
    EXPECT_EQ(replyRecipient(records, registered, QStringLiteral("taroo")), QStringLiteral("別の人"));
    // Left (no longer in the list of full names), never registered, a part of a name, or a record
    // planted with a name that cannot be a folder: nobody to answer.
    for (const char *sender : {"ken", "hana", "tar", "", "bad"})
        EXPECT_EQ(replyRecipient(records, registered, QString::fromUtf8(sender)), std::nullopt) << sender;
}

TEST(NewMail, countsOnlyStampedMailsAfterTheMark)
{
    const auto at = [](const char *date, const char *time) {
        return InboxRecord{QString::fromLatin1(date), QString::fromLatin1(time), QStringLiteral("taro"),
                           QStringLiteral("t"), QStringLiteral("b")};
    };
    const QList<InboxRecord> table{at("2026/04/09", "8:00:00"),
                                   at("2026/04/08", "23:59:59"),
                                   at("2026/04/08", "9:05:03"),
                                   at("2026/04/08", "9:05:02"),
                                   at("", ""),
                                   at("2026/04/08", "25:00:00")};
    const std::optional<QDateTime> mark = parseMarkLine(QStringLiteral("2026/04/08 9:05:03"));
    ASSERT_TRUE(mark);
    EXPECT_EQ(countNewMails(table, mark), 2);
    EXPECT_TRUE(isNewMail(table[0], mark));
    EXPECT_FALSE(isNewMail(table[2], mark)); // the mail read itself
    EXPECT_EQ(countNewMails(table, std::nullopt), 0);
    EXPECT_EQ(newMailMessage(2), QStringLiteral("新しいメールが 2 通あります"));
}

TEST(NewMail, theMarkIsOneLineInThePersonsFolderThatOnlyMovesForward)
{
    MailSite s;
    const QString path = perumina::site::mailReadMark(kServer, kHanako);
    EXPECT_EQ(readMailMark(kServer, kHanako), std::nullopt);
    const QDateTime later(QDate(2026, 4, 8), QTime(14, 3, 9));
    const QDateTime earlier(QDate(2026, 4, 8), QTime(9, 5, 3));
    ASSERT_TRUE(advanceMailMark(kServer, kHanako, later).ok);
    EXPECT_EQ(s.site.bytes(path), QByteArray("2026/04/08 14:03:09\r\n"));
    EXPECT_TRUE(QFileInfo(s.site.local(path)).permissions().testFlag(QFileDevice::WriteGroup));
    // An older copy read on another computer does not move it back.
    ASSERT_TRUE(advanceMailMark(kServer, kHanako, earlier).ok);
    EXPECT_EQ(readMailMark(kServer, kHanako), later);
    // What is not a mark counts as none, and the next reading replaces it.
    s.site.writeBytes(path, QByteArray("garbage\r\n"));
    EXPECT_EQ(readMailMark(kServer, kHanako), std::nullopt);
    ASSERT_TRUE(advanceMailMark(kServer, kHanako, earlier).ok);
    EXPECT_EQ(s.site.bytes(path), QByteArray("2026/04/08 9:05:03\r\n"));
    // A person without a folder gets no mark, and that is said.
    EXPECT_FALSE(advanceMailMark(kServer, QStringLiteral("幽霊"), later).ok);
}
