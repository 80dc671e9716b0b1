#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

// Small helpers for screens whose controls are placed by hand, each under its own control name.
namespace client::formkit {

// The screens' pop-style face; where it is not installed the system's sans-serif stands in.
inline QFont popFont(int pointSize)
{
    QFont font(QStringLiteral("HGS創英角ﾎﾟｯﾌﾟ体"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

inline QFont gothicFont(int pointSize)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

template <typename W> W *make(QWidget *parent, const char *name, QRect geometry)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

inline QLabel *label(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *l = make<QLabel>(parent, name, geometry);
    l->setText(caption);
    l->setFont(popFont(11));
    return l;
}

} // namespace client::formkit
