#include "client/ui/form04.h"

#include "client/core/menu.h"
#include "client/ui/clientapp.h"
#include "client/ui/form03.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace client {

namespace {

enum class Picture
{
    Envelope,
    Palette,
    Calendar
};

// The menu's decorations, drawn rather than loaded so that the screen needs no picture files.
QPixmap decoration(Picture picture)
{
    QPixmap pixmap(72, 72);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    switch (picture) {
    case Picture::Envelope:
        p.setBrush(QColor(255, 244, 200));
        p.drawRect(8, 18, 56, 38);
        p.drawLine(8, 18, 36, 40);
        p.drawLine(64, 18, 36, 40);
        break;
    case Picture::Palette: {
        p.setBrush(QColor(240, 220, 180));
        p.drawEllipse(8, 12, 56, 48);
        const QColor dots[] = {Qt::red, Qt::blue, QColor(0, 160, 0), QColor(255, 200, 0)};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(18 + i * 11, 24 + (i % 2) * 10, 9, 9);
        }
        break;
    }
    case Picture::Calendar:
        p.setBrush(Qt::white);
        p.drawRect(10, 12, 52, 48);
        p.setBrush(QColor(220, 60, 60));
        p.drawRect(10, 12, 52, 12);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.drawPoint(18 + col * 12, 32 + row * 10);
        break;
    }
    return pixmap;
}

} // namespace

Form04::Form04(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    setObjectName(QStringLiteral("Form04"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));

    Label1 = new QLabel(QStringLiteral("ようこそ！　　ネットワークの世界へ"), this);
    Label2 = new QLabel(QStringLiteral("先生に質問をしたり、友達同士でメールを交換する。             "
                                       "また、自作のイラストを紹介するなど、いろいろできますョ！"),
                        this);
    Frame1 = new QGroupBox(QStringLiteral("これから"), this);
    Label6 = new QLabel(QStringLiteral("メールを"), Frame1);
    Option1 = new QRadioButton(QStringLiteral("送る"), Frame1);
    Option2 = new QRadioButton(QStringLiteral("開く"), Frame1);
    Label7 = new QLabel(QStringLiteral("イラストを"), Frame1);
    Option3 = new QRadioButton(QStringLiteral("描く"), Frame1);
    Option4 = new QRadioButton(QStringLiteral("見る"), Frame1);
    Option5 = new QRadioButton(QStringLiteral("今日の予定を確認する"), Frame1);
    Option6 = new QRadioButton(QStringLiteral("今日の給食メニューを見る"), Frame1);
    Option7 = new QRadioButton(QStringLiteral("月別の行事を確認する"), Frame1);
    Image1 = new QLabel(this);
    Image2 = new QLabel(this);
    Image3 = new QLabel(this);
    Command1 = new QPushButton(QStringLiteral("次へ"), this);
    Command3 = new QPushButton(QStringLiteral("戻る"), this);
    Command2 = new QPushButton(QStringLiteral("終了"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label6->setObjectName(QStringLiteral("Label6"));
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Label7->setObjectName(QStringLiteral("Label7"));
    Option3->setObjectName(QStringLiteral("Option3"));
    Option4->setObjectName(QStringLiteral("Option4"));
    Option5->setObjectName(QStringLiteral("Option5"));
    Option6->setObjectName(QStringLiteral("Option6"));
    Option7->setObjectName(QStringLiteral("Option7"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2->setObjectName(QStringLiteral("Image2"));
    Image3->setObjectName(QStringLiteral("Image3"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command2->setObjectName(QStringLiteral("Command2"));

    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    Label1->setFont(big);
    Label2->setWordWrap(true);
    QFont choiceFont = Frame1->font();
    choiceFont.setPointSize(choiceFont.pointSize() + 2);
    Frame1->setFont(choiceFont);
    Image1->setPixmap(decoration(Picture::Envelope));
    Image2->setPixmap(decoration(Picture::Palette));
    Image3->setPixmap(decoration(Picture::Calendar));
    Option1->setChecked(true);
    Command1->setDefault(true);

    auto *choices = new QGridLayout(Frame1);
    choices->addWidget(Label6, 0, 0);
    choices->addWidget(Option1, 0, 1);
    choices->addWidget(Option2, 0, 2);
    choices->addWidget(Label7, 1, 0);
    choices->addWidget(Option3, 1, 1);
    choices->addWidget(Option4, 1, 2);
    choices->addWidget(Option5, 2, 0, 1, 3);
    choices->addWidget(Option6, 3, 0, 1, 3);
    choices->addWidget(Option7, 4, 0, 1, 3);
    choices->setColumnStretch(3, 1);
    choices->setVerticalSpacing(14);
    auto *pictures = new QVBoxLayout;
    pictures->addWidget(Image1);
    pictures->addWidget(Image2);
    pictures->addWidget(Image3);
    auto *middle = new QHBoxLayout;
    middle->addWidget(Frame1, 1);
    middle->addLayout(pictures);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(8);
    layout->addLayout(middle);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(820, 380);

    connect(Command1, &QPushButton::clicked, this, &Form04::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form04::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form04::Command3_Click);
}

void Form04::Command1_Click()
{
    const QRadioButton *options[] = {Option1, Option2, Option3, Option4, Option5, Option6, Option7};
    int selected = 0;
    for (int i = 0; i < 7 && selected == 0; ++i) {
        if (options[i]->isChecked())
            selected = i + 1;
    }
    if (selected == 0)
        return;
    const MenuStep step = menuStepFor(selected);
    QWidget *next = nullptr;
    switch (step.action) {
    case MenuAction::ComposeMail:
        next = app_.form05();
        break;
    case MenuAction::OpenCanvas:
        next = app_.form06();
        break;
    case MenuAction::ReadMail:
        next = app_.form09();
        break;
    case MenuAction::ViewIllustrations:
        next = app_.form10();
        break;
    case MenuAction::StartBoard:
        // The menu stays, so that several boards can be opened one after another.
        if (!app_.seams().launcher.start(step.board))
            app_.dialogs().message(boardNotStartedMessage(step.board));
        return;
    }
    if (app_.ended())
        return;
    hide();
    next->show();
}

void Form04::Command2_Click()
{
    app_.sweepAndEnd();
}

void Form04::Command3_Click()
{
    hide();
    app_.form03()->show();
}

} // namespace client
