#pragma once

#include "client/core/illustration.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/drawingsurface.h"
#include "client/ui/loginscreen.h"
#include "common/controls.h"
#include "common/testsite.h"
#include "shared/fakes.h"

#include <QDir>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace pictures_test {

inline const QString kServer = QStringLiteral("SERVER");
inline const QString kTaro = QStringLiteral("山田太郎");
inline const QString kHanako = QStringLiteral("佐藤花子");

inline QString userFolder(const QString &name)
{
    return QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\") + name;
}
inline QString adminFolder(const QString &name)
{
    return QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\管理用\\") + name;
}

// A site with two registered users and a client logged in as taro (山田太郎).
class PicturesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        site.makeSite(kServer);
        site.writeBytes(QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\登録者一覧.txt"),
                        testing_support::sjis(QStringLiteral("\"山田太郎\"\r\n\"佐藤花子\"\r\n")));
        for (const QString &name : {kTaro, kHanako}) {
            QDir().mkpath(site.local(userFolder(name)));
            QDir().mkpath(site.local(adminFolder(name)));
        }
        app = std::make_unique<client::ClientApp>(fakes.seams());
        app->setServerName(kServer);
        app->signIn({QStringLiteral("taro"), kTaro});
    }
    void TearDown() override { app.reset(); }

    client::CanvasScreen *canvas()
    {
        client::CanvasScreen *form = app->canvasScreen();
        if (!form->isVisible()) {
            form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        }
        return form;
    }

    // A control of the canvas, by its name.
    template <typename T = QPushButton> T *onCanvas(const QString &name)
    {
        return testing_support::control<T>(canvas(), name);
    }
    client::DrawingSurface *surface() { return onCanvas<client::DrawingSurface>("drawingSurface"); }

    // Mouse on the drawing surface, in the picture's own pixels.
    QPoint onSurface(QPoint at) { return at + surface()->contentsRect().topLeft(); }
    void press(QPoint at) { QTest::mousePress(surface(), Qt::LeftButton, {}, onSurface(at)); }
    void moveTo(QPoint at) { QTest::mouseMove(surface(), onSurface(at)); }
    void release(QPoint at) { QTest::mouseRelease(surface(), Qt::LeftButton, {}, onSurface(at)); }
    void stroke(std::initializer_list<QPoint> points)
    {
        press(*points.begin());
        for (auto it = points.begin() + 1; it != points.end(); ++it)
            moveTo(*it);
        release(*(points.end() - 1));
    }

    // Picks the recipient in the list as a user does, types the title and presses "送信".
    void send(const QString &recipient, const QString &title)
    {
        auto *list = onCanvas<QListWidget>("recipientList");
        const auto items = list->findItems(recipient, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        const QRect rect = list->visualItemRect(items.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        ASSERT_EQ(onCanvas<QLineEdit>("recipientBox")->text(), recipient);
        onCanvas<QLineEdit>("titleBox")->setText(title);
        QTest::mouseClick(onCanvas("sendButton"), Qt::LeftButton);
    }

    QByteArray sentBytes(const QString &recipient, const QString &title)
    {
        return site.bytes(client::illustration::paths(kServer, recipient, title).recipientCopy);
    }
    QImage sentPicture(const QString &recipient, const QString &title)
    {
        return QImage::fromData(sentBytes(recipient, title));
    }

    testing_support::TempSite site;
    perumina::FakeSeams fakes;
    std::unique_ptr<client::ClientApp> app;
};

// The box holding every pixel darker than white, left of the signature region.
inline QRect inkOutsideSignature(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < 360; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace pictures_test
