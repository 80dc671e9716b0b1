#include "client/ui/form05.h"

#include "client/core/mail.h"
#include "client/ui/clientapp.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/menuscreen.h"
#include "client/ui/onelinebox.h"
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

Form05::Form05(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "Form05", kScreenCaption);
    setFixedSize(660, 475);
    const QFont pop = face(Face::Pop, 11);
    const QFont popButton = face(Face::Pop, 12);
    Frame1 = make<QGroupBox>(this, "Frame1", {10, 10, 200, 330});
    Label1 = label(Frame1, "Label1", QStringLiteral("誰にメールを送りますか？"), {8, 12, 186, 28}, pop);
    List1 = list(Frame1, "List1", {8, 44, 184, 276}, face(Face::PGothic, 11));
    Text4 = textBox(this, "Text4", {225, 18, 230, 28}, face(Face::PGothic, 12));
    Label7 = label(this, "Label7", QStringLiteral("さんへ"), {460, 18, 70, 28}, pop);
    Text3 = textBox(this, "Text3", {535, 18, 115, 28}, face(Face::PGothic, 11), QStringLiteral("送信者"));
    Text3->setReadOnly(true); // the sender is the signed-in user, not something to type
    Label2 = label(this, "Label2", QStringLiteral("件　名"), {225, 58, 60, 28}, pop);
    Text2 = textBox(this, "Text2", {290, 58, 360, 28}, face(Face::PGothic, 12));
    keepOnOneLine(Text2);
    Label3 = label(this, "Label3", QStringLiteral("本　文"), {225, 96, 60, 28}, pop);
    Text5 = multiLineBox(this, "Text5", {290, 96, 360, 200});
    Text5->setPlainText(QStringLiteral("Text5"));
    Text5->hide();
    Text1 = multiLineBox(this, "Text1", {290, 96, 360, 200}, face(Face::PGothic, 12));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to 送信 as from every other box, so the keyboard alone can leave the body.
    Text1->setTabChangesFocus(true);
    Label6 = label(
        this, "Label6",
        QStringLiteral("途中で改行するときは  Shift  または  Ctrl  を押しながら  Enter  を押して下さい。"),
        {225, 300, 425, 40}, face(Face::Pop, 9));
    Label6->setWordWrap(true);
    Label4 = label(this, "Label4", QStringLiteral("送信日"), {225, 348, 120, 24}, pop);
    Label5 = label(this, "Label5", QStringLiteral("送信時刻"), {350, 348, 120, 24}, pop);
    Command1 =
        colourButton(this, "Command1", QStringLiteral("送信"), 0xffc0c0, {480, 344, 80, 34}, popButton);
    Command1->setDefault(true);
    Command6 =
        colourButton(this, "Command6", QStringLiteral("全消去"), 0xff6060, {570, 344, 80, 34}, popButton);
    Label9 = label(this, "Label9", QStringLiteral("イラストを"), {20, 396, 100, 24}, pop);
    Command2 = colourButton(this, "Command2", QStringLiteral("描く"), 0x80e080, {20, 424, 80, 34}, popButton);
    Command3 =
        colourButton(this, "Command3", QStringLiteral("見る"), 0x80e080, {108, 424, 80, 34}, popButton);
    Label8 = label(this, "Label8", QStringLiteral("メールを"), {220, 396, 100, 24}, pop);
    Command4 =
        colourButton(this, "Command4", QStringLiteral("読む"), 0x80e080, {220, 424, 80, 34}, popButton);
    Command5 =
        colourButton(this, "Command5", QStringLiteral("終了"), 0xffc0e0, {330, 424, 80, 34}, popButton);
    Command7 = colourButton(this, "Command7", QStringLiteral("ようこそへ戻る"), 0xc0ffc0, {420, 424, 150, 34},
                            popButton);
    Image1 = image(this, "Image1", envelope(), {586, 418, 64, 44});
    EnterKey::of(this)->setSendingBox(Text1);

    connect(List1, &QListWidget::itemClicked, this, &Form05::List1_Click);
    // Arrows and Space choose as a click does. The list taking the focus only marks a row current,
    // unchosen, and that must not name a recipient nobody picked.
    connect(List1, &QListWidget::itemSelectionChanged, this, &Form05::List1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form05::Command1_Click);
    connect(Command6, &QPushButton::clicked, this, &Form05::Command6_Click);
    connect(Command2, &QPushButton::clicked, this, &Form05::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form05::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form05::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form05::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &Form05::Command7_Click);

    Form_Load();
}

void Form05::Form_Load()
{
    Text3->setText(app_.signedIn().userName);
    List1->clear();
    // An unreadable list leaves the list empty; sending reports what cannot be reached.
    List1->addItems(loadRecipients(app_.serverName()).value_or(QStringList()));
}

void Form05::showEvent(QShowEvent *event)
{
    // Whoever logged in last is the sender, also after a second login in the same run.
    const QString user = app_.signedIn().userName;
    if (!user.isEmpty())
        Text3->setText(user);
    QWidget::showEvent(event);
}

void Form05::List1_Click()
{
    const QList<QListWidgetItem *> chosen = List1->selectedItems();
    if (!chosen.isEmpty())
        Text4->setText(chosen.first()->text());
}

void Form05::Command1_Click()
{
    const QDateTime now = app_.seams().clock.now();
    Mail mail{perumina::formatDate(now.date()),
              perumina::formatTime(now.time()),
              Text3->text(),
              Text4->text(),
              Text2->text(),
              toCrLf(Text1->toPlainText())};
    const Delivery delivery = deliverMail(app_.serverName(), mail);
    using Outcome = Delivery::Outcome;
    if (delivery.outcome == Outcome::Done || delivery.outcome == Outcome::LogOnly) {
        Label4->setText(mail.date);
        Label5->setText(mail.time);
    }
    if (delivery.done()) {
        Text1->clear();
        Text2->clear();
    }
    app_.dialogs().message(deliveryMessage(delivery, mail.recipient));
    // The user is taken back to the box that needs another value.
    switch (delivery.outcome) {
    case Outcome::NoTitle:
        Text2->setFocus();
        break;
    case Outcome::NoRecipient:
    case Outcome::UnknownRecipient:
        Text4->setFocus();
        break;
    case Outcome::NoBody:
        Text1->setFocus();
        break;
    case Outcome::Unencodable:
        selectRefusedCharacter(delivery.field);
        break;
    case Outcome::Ambiguous:
    case Outcome::LineBreak:
    case Outcome::TooLong:
        if (delivery.field == QStringLiteral("件名"))
            Text2->setFocus();
        else if (delivery.field == QStringLiteral("本文"))
            Text1->setFocus();
        else if (delivery.field == QStringLiteral("受信者"))
            Text4->setFocus();
        break;
    default:
        break;
    }
}

// The first character that cannot be written is selected where it was typed, so that it is found
// also in a long body.
void Form05::selectRefusedCharacter(const QString &field)
{
    QLineEdit *line = field == QStringLiteral("件名")     ? Text2
                      : field == QStringLiteral("受信者") ? Text4
                                                          : nullptr;
    if (line) {
        line->setFocus();
        if (const auto at = perumina::firstUnencodable(line->text()))
            line->setSelection(int(at->index), int(at->length));
    } else if (field == QStringLiteral("本文")) {
        Text1->setFocus();
        if (const auto at = perumina::firstUnencodable(Text1->toPlainText())) {
            QTextCursor cursor = Text1->textCursor();
            cursor.setPosition(int(at->index));
            cursor.setPosition(int(at->index + at->length), QTextCursor::KeepAnchor);
            Text1->setTextCursor(cursor);
        }
    }
}

void Form05::Command6_Click()
{
    Text1->clear();
}

void Form05::Command2_Click()
{
    goTo(app_.form06());
}

void Form05::Command3_Click()
{
    goTo(app_.form10());
}

void Form05::Command4_Click()
{
    goTo(app_.form09());
}

void Form05::Command7_Click()
{
    goTo(app_.menuScreen());
}

// Only starts the sweeper: the program and this screen stay open.
void Form05::Command5_Click()
{
    app_.startSweeper();
}

} // namespace client
