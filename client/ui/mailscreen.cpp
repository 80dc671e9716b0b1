#include "client/ui/mailscreen.h"

#include "client/core/mail.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/menuscreen.h"
#include "client/ui/onelinebox.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "shared/textfile.h"
#include "shared/ui/enterkey.h"
#include "shared/ui/formkit.h"

#include <QPainter>
#include <QTextCursor>

namespace client {

namespace {

// A small envelope, the screen's decoration.
QPixmap envelope()
{
    QPixmap pixmap(64, 44);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xc0, 0x40, 0x40), 2));
    painter.setBrush(QColor(0xff, 0xf4, 0xd0));
    painter.drawRect(2, 2, 60, 40);
    painter.drawPolyline(QPolygon({QPoint(2, 2), QPoint(32, 24), QPoint(62, 2)}));
    return pixmap;
}

} // namespace

MailScreen::MailScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "MailScreen", kScreenCaption);
    setFixedSize(660, 475);
    const QFont pop = face(Face::Pop, 11);
    const QFont popButton = face(Face::Pop, 12);
    recipientFrame = make<QGroupBox>(this, "recipientFrame", {10, 10, 200, 330});
    recipientCaption = label(recipientFrame, "recipientCaption", QStringLiteral("誰にメールを送りますか？"),
                             {8, 12, 186, 28}, pop);
    recipientList = list(recipientFrame, "recipientList", {8, 44, 184, 276}, face(Face::PGothic, 11));
    recipientBox = textBox(this, "recipientBox", {225, 18, 230, 28}, face(Face::PGothic, 12));
    honorificCaption = label(this, "honorificCaption", QStringLiteral("さんへ"), {460, 18, 70, 28}, pop);
    senderBox =
        textBox(this, "senderBox", {535, 18, 115, 28}, face(Face::PGothic, 11), QStringLiteral("送信者"));
    senderBox->setReadOnly(true); // the sender is the signed-in user, not something to type
    titleCaption = label(this, "titleCaption", QStringLiteral("件　名"), {225, 58, 60, 28}, pop);
    titleBox = textBox(this, "titleBox", {290, 58, 360, 28}, face(Face::PGothic, 12));
    keepOnOneLine(titleBox);
    bodyCaption = label(this, "bodyCaption", QStringLiteral("本　文"), {225, 96, 60, 28}, pop);
    bodyBox = multiLineBox(this, "bodyBox", {290, 96, 360, 200}, face(Face::PGothic, 12));
    bodyBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to 送信 as from every other box, so the keyboard alone can leave the body.
    bodyBox->setTabChangesFocus(true);
    lineBreakCaption = label(
        this, "lineBreakCaption",
        QStringLiteral("途中で改行するときは  Shift  または  Ctrl  を押しながら  Enter  を押して下さい。"),
        {225, 300, 425, 40}, face(Face::Pop, 9));
    lineBreakCaption->setWordWrap(true);
    sentDateLabel = label(this, "sentDateLabel", QStringLiteral("送信日"), {225, 348, 120, 24}, pop);
    sentTimeLabel = label(this, "sentTimeLabel", QStringLiteral("送信時刻"), {350, 348, 120, 24}, pop);
    sendButton =
        colourButton(this, "sendButton", QStringLiteral("送信"), 0xffc0c0, {480, 344, 80, 34}, popButton);
    sendButton->setDefault(true);
    clearButton =
        colourButton(this, "clearButton", QStringLiteral("全消去"), 0xff6060, {570, 344, 80, 34}, popButton);
    pictureCaption = label(this, "pictureCaption", QStringLiteral("イラストを"), {20, 396, 100, 24}, pop);
    drawButton =
        colourButton(this, "drawButton", QStringLiteral("描く"), 0x80e080, {20, 424, 80, 34}, popButton);
    viewPicturesButton = colourButton(this, "viewPicturesButton", QStringLiteral("見る"), 0x80e080,
                                      {108, 424, 80, 34}, popButton);
    mailCaption = label(this, "mailCaption", QStringLiteral("メールを"), {220, 396, 100, 24}, pop);
    readMailButton =
        colourButton(this, "readMailButton", QStringLiteral("読む"), 0x80e080, {220, 424, 80, 34}, popButton);
    quitButton =
        colourButton(this, "quitButton", QStringLiteral("終了"), 0xffc0e0, {330, 424, 80, 34}, popButton);
    backButton = colourButton(this, "backButton", QStringLiteral("ようこそへ戻る"), 0xc0ffc0,
                              {420, 424, 150, 34}, popButton);
    envelopeImage = image(this, "envelopeImage", envelope(), {586, 418, 64, 44});
    EnterKey::of(this)->setSendingBox(bodyBox);

    connect(recipientList, &QListWidget::itemClicked, this, &MailScreen::chooseRecipient);
    // Arrows and Space choose as a click does. The list taking the focus only marks a row current,
    // unchosen, and that must not name a recipient nobody picked.
    connect(recipientList, &QListWidget::itemSelectionChanged, this, &MailScreen::chooseRecipient);
    connect(sendButton, &QPushButton::clicked, this, &MailScreen::send);
    connect(clearButton, &QPushButton::clicked, this, &MailScreen::clearBody);
    connect(drawButton, &QPushButton::clicked, this, &MailScreen::showCanvas);
    connect(viewPicturesButton, &QPushButton::clicked, this, &MailScreen::showViewer);
    connect(readMailButton, &QPushButton::clicked, this, &MailScreen::showReader);
    connect(quitButton, &QPushButton::clicked, this, &MailScreen::startSweeper);
    connect(backButton, &QPushButton::clicked, this, &MailScreen::backToMenu);

    load();
}

void MailScreen::load()
{
    senderBox->setText(app_.signedIn().userName);
    recipientList->clear();
    // An unreadable list leaves the list empty; sending reports what cannot be reached.
    recipientList->addItems(loadRecipients(app_.serverName()).value_or(QStringList()));
}

void MailScreen::showEvent(QShowEvent *event)
{
    // Whoever logged in last is the sender, also after a second login in the same run.
    const QString user = app_.signedIn().userName;
    if (!user.isEmpty())
        senderBox->setText(user);
    QWidget::showEvent(event);
}

QStringList MailScreen::recipients() const
{
    QStringList names;
    for (int i = 0; i < recipientList->count(); ++i)
        names.append(recipientList->item(i)->text());
    return names;
}

void MailScreen::answer(const QString &recipient, const QString &title)
{
    QListWidgetItem *item = recipientList->item(int(recipients().indexOf(recipient)));
    if (item) {
        recipientList->setCurrentItem(item);
        recipientList->scrollToItem(item);
        chooseRecipient();
    }
    titleBox->setText(title);
    bodyBox->clear();
    bodyBox->setFocus();
}

void MailScreen::chooseRecipient()
{
    const QList<QListWidgetItem *> chosen = recipientList->selectedItems();
    if (!chosen.isEmpty())
        recipientBox->setText(chosen.first()->text());
}

void MailScreen::send()
{
    const QDateTime now = app_.seams().clock.now();
    Mail mail{perumina::formatDate(now.date()),
              perumina::formatTime(now.time()),
              senderBox->text(),
              recipientBox->text(),
              titleBox->text(),
              toCrLf(bodyBox->toPlainText())};
    const Delivery delivery = deliverMail(app_.serverName(), mail);
    using Outcome = Delivery::Outcome;
    if (delivery.outcome == Outcome::Done || delivery.outcome == Outcome::LogOnly) {
        sentDateLabel->setText(mail.date);
        sentTimeLabel->setText(mail.time);
    }
    if (delivery.done()) {
        bodyBox->clear();
        titleBox->clear();
    }
    app_.dialogs().message(deliveryMessage(delivery, mail.recipient));
    // The user is taken back to the box that needs another value.
    switch (delivery.outcome) {
    case Outcome::NoTitle:
        titleBox->setFocus();
        break;
    case Outcome::NoRecipient:
    case Outcome::UnknownRecipient:
        recipientBox->setFocus();
        break;
    case Outcome::NoBody:
        bodyBox->setFocus();
        break;
    case Outcome::Unencodable:
        selectRefusedCharacter(delivery.field);
        break;
    case Outcome::Ambiguous:
    case Outcome::LineBreak:
    case Outcome::TooLong:
        if (delivery.field == QStringLiteral("件名"))
            titleBox->setFocus();
        else if (delivery.field == QStringLiteral("本文"))
            bodyBox->setFocus();
        else if (delivery.field == QStringLiteral("受信者"))
            recipientBox->setFocus();
        break;
    default:
        break;
    }
}

// The first character that cannot be written is selected where it was typed, so that it is found
// also in a long body.
void MailScreen::selectRefusedCharacter(const QString &field)
{
    QLineEdit *line = field == QStringLiteral("件名")     ? titleBox
                      : field == QStringLiteral("受信者") ? recipientBox
                                                          : nullptr;
    if (line) {
        line->setFocus();
        if (const auto at = perumina::firstUnencodable(line->text()))
            line->setSelection(int(at->index), int(at->length));
    } else if (field == QStringLiteral("本文")) {
        bodyBox->setFocus();
        if (const auto at = perumina::firstUnencodable(bodyBox->toPlainText())) {
            QTextCursor cursor = bodyBox->textCursor();
            cursor.setPosition(int(at->index));
            cursor.setPosition(int(at->index + at->length), QTextCursor::KeepAnchor);
            bodyBox->setTextCursor(cursor);
        }
    }
}

void MailScreen::clearBody()
{
    bodyBox->clear();
}

void MailScreen::showCanvas()
{
    goTo(app_.canvasScreen());
}

void MailScreen::showViewer()
{
    goTo(app_.viewerScreen());
}

void MailScreen::showReader()
{
    goTo(app_.readerScreen());
}

void MailScreen::backToMenu()
{
    goTo(app_.menuScreen());
}

// Only starts the sweeper: the program and this screen stay open.
void MailScreen::startSweeper()
{
    app_.startSweeper();
}

} // namespace client
