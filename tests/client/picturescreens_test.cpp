#include "client/ui/viewerscreen.h"
#include "picturesfixture.h"

#include <QDir>

using namespace pictures_test;

namespace {

using PictureScreens = PicturesTest;

// Renders the canvas with a drawing on it and the viewer showing it, when PERUMINA_SCREENS is set.
TEST_F(PictureScreens, ScreenshotsWhenAsked)
{
    const QString out = testing_support::screensDir();
    if (out.isEmpty())
        GTEST_SKIP() << "set PERUMINA_SCREENS to write build/screens/form06.png and form10.png";

    client::Form06 *form = canvas();
    // A house under a sun, drawn with the mouse in several colours and widths.
    form->Option5->click();
    form->Opt(15)->click(); // brown walls
    stroke({{120, 300}, {120, 200}, {260, 200}, {260, 300}, {120, 300}});
    form->Opt(11)->click(); // red roof
    stroke({{105, 205}, {190, 130}, {275, 205}});
    form->Option3->click();
    form->Opt(27)->click(); // blue window
    stroke({{150, 230}, {180, 230}, {180, 260}, {150, 260}, {150, 230}});
    form->Option4->click();
    form->Opt(17)->click(); // yellow sun
    stroke({{380, 60}, {400, 40}, {420, 60}, {400, 80}, {380, 60}});
    form->Option2->click();
    form->Opt(20)->click(); // "15": grass
    stroke({{10, 320}, {460, 320}});
    form->Text1->setText(QStringLiteral("わたしの家"));
    send(kTaro, QStringLiteral("わたしの家"));
    ASSERT_TRUE(form->grab().save(out + QStringLiteral("/form06.png")));
    form->hide();

    client::Form10 *viewer = app->form10();
    viewer->Label2->setText(kTaro); // as the login sets it
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    ASSERT_TRUE(viewer->grab().save(out + QStringLiteral("/form10-empty.png")));
    const auto items = viewer->File1->findItems(QStringLiteral("わたしの家.jpg"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    viewer->File1->setCurrentItem(items.first());
    viewer->File1_DblClick();
    ASSERT_TRUE(viewer->grab().save(out + QStringLiteral("/form10-loading.png")));
    QTRY_VERIFY(!viewer->isLoading());
    ASSERT_TRUE(viewer->grab().save(out + QStringLiteral("/form10.png")));
}

} // namespace
