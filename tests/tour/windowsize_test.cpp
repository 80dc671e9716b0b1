#include "admin/ui/adminapp.h"
#include "admin/ui/adminloginscreen.h"
#include "admin/ui/consolescreen.h"
#include "boards/daily/ui/dayboardscreen.h"
#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/monthly/ui/monthboardscreen.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/viewerscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/testsite.h"
#include "shared/fakes.h"
#include "shared/ui/screenfit.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using testing_support::TempSite;

namespace {

// What of a window lies outside what it shows: a control past its edge, or a scroll area's content that
// its scroll bars cannot reach. Empty when everything can be seen.
QStringList unreachable(QWidget *window)
{
    QStringList out;
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (!control->isVisible() || control->isWindow())
            continue;
        if (auto *scroll = qobject_cast<QScrollArea *>(control); scroll && scroll->widget()) {
            const QSize hidden = scroll->widget()->size() - scroll->viewport()->size();
            auto reaches = [](const QScrollBar *bar, int hidden) {
                return hidden <= 0 || (bar->isVisible() && bar->maximum() >= hidden);
            };
            if (!reaches(scroll->horizontalScrollBar(), hidden.width()) ||
                !reaches(scroll->verticalScrollBar(), hidden.height()))
                out << control->objectName() + QStringLiteral(" (cannot scroll)");
        }
        QWidget *parent = control->parentWidget();
        while (parent != window && !qobject_cast<QScrollArea *>(parent))
            parent = parent->parentWidget();
        if (parent != window)
            continue; // inside a scroll area, which is checked itself
        if (!window->rect().contains(QRect(control->mapTo(window, QPoint(0, 0)), control->size())))
            out << control->objectName();
    }
    return out;
}

} // namespace

// Every window of every program, as shown, fits the smallest screen a school uses, 1366 x 768 (the
// tests run on such a screen); a board taller than that scrolls with its layout unchanged.
TEST(Windows, everyWindowFitsASmallScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen.size(), QSize(1366, 768)) << "the tests' screen is set in tests/tour/CMakeLists.txt";
    TempSite site;
    site.makeSite();
    perumina::FakeSeams fakes;
    client::ClientApp clientApp(fakes.seams());
    admin::AdminApp adminApp(fakes.seams());
    std::vector<std::unique_ptr<QWidget>> boards;
    for (bool admin : {true, false}) {
        using namespace boards;
        boards.push_back(std::make_unique<daily::DayBoardScreen>(
            admin ? daily::Variant::Admin : daily::Variant::Classroom, fakes.seams()));
        boards.push_back(std::make_unique<lunch::LunchBoardScreen>(
            admin ? lunch::Variant::Admin : lunch::Variant::Classroom, fakes.seams()));
        boards.push_back(std::make_unique<monthly::MonthBoardScreen>(
            admin ? monthly::Variant::Admin : monthly::Variant::Classroom, fakes.seams()));
    }
    std::vector<QWidget *> windows{clientApp.welcomeScreen(),   clientApp.registrationScreen(),
                                   clientApp.loginScreen(),     clientApp.menuScreen(),
                                   clientApp.mailScreen(),      clientApp.canvasScreen(),
                                   clientApp.readerScreen(),    clientApp.viewerScreen(),
                                   adminApp.adminLoginScreen(), adminApp.consoleScreen()};
    for (const auto &board : boards)
        windows.push_back(board.get());
    for (QWidget *window : windows) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << qPrintable(window->windowTitle());
        const QSize size = window->size();
        EXPECT_LE(size.width(), perumina::kLargestWindow.width()) << qPrintable(window->windowTitle());
        EXPECT_LE(size.height(), perumina::kLargestWindow.height()) << qPrintable(window->windowTitle());
        EXPECT_TRUE(screen.contains(window->frameGeometry())) << qPrintable(window->windowTitle());
        const QStringList outOfSight = unreachable(window);
        EXPECT_TRUE(outOfSight.isEmpty()) << qPrintable(window->windowTitle() + u' ' + outOfSight.join(u' '));
        window->hide();
    }

    // The monthly board keeps every control where it was, inside the scroll area.
    auto *month = boards[2].get();
    auto *scroll = month->findChild<QScrollArea *>(QStringLiteral("scroll"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->widget()->height(), perumina::kLargestWindow.height());
    month->show();
    for (QLineEdit *field : month->findChildren<QLineEdit *>())
        EXPECT_TRUE(field->isVisible()) << qPrintable(field->objectName());
}
