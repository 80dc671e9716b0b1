#include "client/ui/menuscreen.h"

#include "client/core/menu.h"
#include "client/core/newmail.h"
#include "client/ui/clientapp.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/loginscreen.h"

#include "shared/ui/formkit.h"

#include <QGridLayout>
#include <QPainter>

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

MenuScreen::MenuScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "MenuScreen", kScreenCaption);
    Label1 = label(this, "Label1", QStringLiteral("ようこそ！　　ネットワークの世界へ"), {},
                   larger(Face::PGothic, 6, true));
    Label2 = label(this, "Label2",
                   QStringLiteral("先生に質問をしたり、友達同士でメールを交換する。             "
                                  "また、自作のイラストを紹介するなど、いろいろできますョ！"));
    Label2->setWordWrap(true);
    Frame1 = make<QGroupBox>(this, "Frame1");
    Frame1->setTitle(QStringLiteral("これから"));
    Frame1->setFont(larger(Face::PGothic, 2));
    Label6 = label(Frame1, "Label6", QStringLiteral("メールを"));
    Option1 = option(Frame1, "Option1", QStringLiteral("送る"));
    Option2 = option(Frame1, "Option2", QStringLiteral("開く"));
    Label7 = label(Frame1, "Label7", QStringLiteral("イラストを"));
    Option3 = option(Frame1, "Option3", QStringLiteral("描く"));
    Option4 = option(Frame1, "Option4", QStringLiteral("見る"));
    Option5 = option(Frame1, "Option5", QStringLiteral("今日の予定を確認する"));
    Option6 = option(Frame1, "Option6", QStringLiteral("今日の給食メニューを見る"));
    Option7 = option(Frame1, "Option7", QStringLiteral("月別の行事を確認する"));
    Option1->setChecked(true);
    Image1 = image(this, "Image1", decoration(Picture::Envelope));
    Image2 = image(this, "Image2", decoration(Picture::Palette));
    Image3 = image(this, "Image3", decoration(Picture::Calendar));
    Command1 = button(this, "Command1", QStringLiteral("次へ"));
    Command1->setDefault(true);
    Command3 = button(this, "Command3", QStringLiteral("戻る"));
    Command2 = button(this, "Command2", QStringLiteral("終了"));
    newMailLabel = label(this, "newMailLabel", QString(), {}, larger(Face::PGothic, 2, true));
    newMailLabel->setAlignment(Qt::AlignCenter);
    setTextColour(newMailLabel, Qt::red);
    newMailLabel->hide();

    QGridLayout *choices = grid({{Label6, 0, 0},
                                 {Option1, 0, 1},
                                 {Option2, 0, 2},
                                 {Label7, 1, 0},
                                 {Option3, 1, 1},
                                 {Option4, 1, 2},
                                 {Option5, 2, 0, 1, 3},
                                 {Option6, 3, 0, 1, 3},
                                 {Option7, 4, 0, 1, 3}},
                                Frame1);
    choices->setColumnStretch(3, 1);
    choices->setVerticalSpacing(14);
    column({Label1, Label2, Item::space(8), row({{Frame1, 1}, column({Image1, Image2, Image3})}),
            Item::stretch(),
            row({Command3, Item::stretch(), newMailLabel, Item::stretch(), Command1, Command2})},
           this);
    resize(820, 380);

    connect(Command1, &QPushButton::clicked, this, &MenuScreen::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MenuScreen::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MenuScreen::Command3_Click);
}

void MenuScreen::Command1_Click()
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

void MenuScreen::showEvent(QShowEvent *event)
{
    showNewMailCount();
    QWidget::showEvent(event);
}

// Counted in the inbox copied at login against the mark of the last reading on any computer; a person
// who has never read mail has no mark, and sees no count.
void MenuScreen::showNewMailCount()
{
    const QString fullName = app_.signedIn().fullName;
    std::optional<QDateTime> mark;
    if (!fullName.isEmpty() && app_.hasForm09())
        mark = readMailMark(app_.serverName(), fullName);
    if (!mark) {
        newMailLabel->hide();
        return;
    }
    newMailLabel->setText(newMailMessage(countNewMails(app_.form09()->tableFor(fullName), mark)));
    newMailLabel->show();
}

void MenuScreen::Command2_Click()
{
    app_.sweepAndEnd();
}

void MenuScreen::Command3_Click()
{
    hide();
    app_.loginScreen()->show();
}

} // namespace client
