#include "client/ui/menuscreen.h"

#include "client/core/menu.h"
#include "client/core/newmail.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"

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
    titleCaption = label(this, "titleCaption", QStringLiteral("ようこそ！　　ネットワークの世界へ"), {},
                         larger(Face::PGothic, 6, true));
    introCaption = label(this, "introCaption",
                         QStringLiteral("先生に質問をしたり、友達同士でメールを交換する。             "
                                        "また、自作のイラストを紹介するなど、いろいろできますョ！"));
    introCaption->setWordWrap(true);
    choiceFrame = make<QGroupBox>(this, "choiceFrame");
    choiceFrame->setTitle(QStringLiteral("これから"));
    choiceFrame->setFont(larger(Face::PGothic, 2));
    mailCaption = label(choiceFrame, "mailCaption", QStringLiteral("メールを"));
    sendMailOption = option(choiceFrame, "sendMailOption", QStringLiteral("送る"));
    readMailOption = option(choiceFrame, "readMailOption", QStringLiteral("開く"));
    illustrationCaption = label(choiceFrame, "illustrationCaption", QStringLiteral("イラストを"));
    drawOption = option(choiceFrame, "drawOption", QStringLiteral("描く"));
    viewIllustrationsOption = option(choiceFrame, "viewIllustrationsOption", QStringLiteral("見る"));
    dayBoardOption = option(choiceFrame, "dayBoardOption", QStringLiteral("今日の予定を確認する"));
    lunchBoardOption = option(choiceFrame, "lunchBoardOption", QStringLiteral("今日の給食メニューを見る"));
    monthBoardOption = option(choiceFrame, "monthBoardOption", QStringLiteral("月別の行事を確認する"));
    sendMailOption->setChecked(true);
    envelopeImage = image(this, "envelopeImage", decoration(Picture::Envelope));
    paletteImage = image(this, "paletteImage", decoration(Picture::Palette));
    calendarImage = image(this, "calendarImage", decoration(Picture::Calendar));
    nextButton = button(this, "nextButton", QStringLiteral("次へ"));
    nextButton->setDefault(true);
    backButton = button(this, "backButton", QStringLiteral("戻る"));
    quitButton = button(this, "quitButton", QStringLiteral("終了"));
    newMailLabel = label(this, "newMailLabel", QString(), {}, larger(Face::PGothic, 2, true));
    newMailLabel->setAlignment(Qt::AlignCenter);
    setTextColour(newMailLabel, Qt::red);
    newMailLabel->hide();

    QGridLayout *choices = grid({{mailCaption, 0, 0},
                                 {sendMailOption, 0, 1},
                                 {readMailOption, 0, 2},
                                 {illustrationCaption, 1, 0},
                                 {drawOption, 1, 1},
                                 {viewIllustrationsOption, 1, 2},
                                 {dayBoardOption, 2, 0, 1, 3},
                                 {lunchBoardOption, 3, 0, 1, 3},
                                 {monthBoardOption, 4, 0, 1, 3}},
                                choiceFrame);
    choices->setColumnStretch(3, 1);
    choices->setVerticalSpacing(14);
    column({titleCaption, introCaption, Item::space(8),
            row({{choiceFrame, 1}, column({envelopeImage, paletteImage, calendarImage})}), Item::stretch(),
            row({backButton, Item::stretch(), newMailLabel, Item::stretch(), nextButton, quitButton})},
           this);
    resize(820, 380);

    connect(nextButton, &QPushButton::clicked, this, &MenuScreen::openChoice);
    connect(quitButton, &QPushButton::clicked, this, &MenuScreen::quit);
    connect(backButton, &QPushButton::clicked, this, &MenuScreen::backToLogin);
}

void MenuScreen::openChoice()
{
    // In the order menuStepFor numbers the choices.
    const QRadioButton *options[] = {sendMailOption,          readMailOption, drawOption,
                                     viewIllustrationsOption, dayBoardOption, lunchBoardOption,
                                     monthBoardOption};
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
        next = app_.mailScreen();
        break;
    case MenuAction::OpenCanvas:
        next = app_.canvasScreen();
        break;
    case MenuAction::ReadMail:
        next = app_.readerScreen();
        break;
    case MenuAction::ViewIllustrations:
        next = app_.viewerScreen();
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
    if (!fullName.isEmpty() && app_.hasReaderScreen())
        mark = readMailMark(app_.serverName(), fullName);
    if (!mark) {
        newMailLabel->hide();
        return;
    }
    newMailLabel->setText(newMailMessage(countNewMails(app_.readerScreen()->tableFor(fullName), mark)));
    newMailLabel->show();
}

void MenuScreen::quit()
{
    app_.sweepAndEnd();
}

void MenuScreen::backToLogin()
{
    hide();
    app_.loginScreen()->show();
}

} // namespace client
