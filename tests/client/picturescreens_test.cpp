#include "client/ui/viewerscreen.h"
#include "picturesfixture.h"

#include <QDir>
#include <QSignalSpy>

using namespace pictures_test;

namespace {

using PictureScreens = PicturesTest;

// Renders the canvas with a drawing on it and the viewer showing it, when PERUMINA_SCREENS is set.
TEST_F(PictureScreens, ScreenshotsWhenAsked)
{
    const QString out = testing_support::screensDir();
    if (out.isEmpty())
        GTEST_SKIP() << "set PERUMINA_SCREENS to write build/screens/canvasscreen.png and viewerscreen.png";

    client::CanvasScreen *form = canvas();
    const auto draw = [&](const char *colour, const char *width, std::initializer_list<QPoint> points) {
        onCanvas(QLatin1String(colour))->click();
        onCanvas<QRadioButton>(QLatin1String(width))->click();
        stroke(points);
    };
    // A house under a sun, drawn with the mouse in several colours and widths.
    draw("colourButton10", "widthOption5",
         {{120, 300}, {120, 200}, {260, 200}, {260, 300}, {120, 300}});          // walls
    draw("colourButton6", "widthOption5", {{105, 205}, {190, 130}, {275, 205}}); // roof
    draw("colourButton22", "widthOption3",
         {{150, 230}, {180, 230}, {180, 260}, {150, 260}, {150, 230}});                              // window
    draw("colourButton12", "widthOption4", {{380, 60}, {400, 40}, {420, 60}, {400, 80}, {380, 60}}); // sun
    draw("colourButton15", "widthOption2", {{10, 320}, {460, 320}});                                 // grass
    send(kTaro, QStringLiteral("わたしの家"));
    ASSERT_TRUE(form->grab().save(out + QStringLiteral("/canvasscreen.png")));
    form->hide();

    client::ViewerScreen *viewer = app->viewerScreen();
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    ASSERT_TRUE(viewer->grab().save(out + QStringLiteral("/viewerscreen-empty.png")));
    auto *list = testing_support::control<QListWidget>(viewer, "pictureList");
    const auto items = list->findItems(QStringLiteral("わたしの家.jpg"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    list->setCurrentItem(items.first());
    QSignalSpy loaded(viewer, &client::ViewerScreen::pictureLoaded);
    QTest::keyClick(list, Qt::Key_Return); // opens the picture as a double-click does
    ASSERT_TRUE(viewer->grab().save(out + QStringLiteral("/viewerscreen-loading.png")));
    QTRY_COMPARE(loaded.count(), 1);
    ASSERT_TRUE(viewer->grab().save(out + QStringLiteral("/viewerscreen.png")));
}

} // namespace
