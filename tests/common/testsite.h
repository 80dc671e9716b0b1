#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <utility>

namespace testing_support {

// A fresh site root for one test: PERUMINA_ROOT points at a temporary folder until the end of the
// test, then the previous value comes back and the folder is removed. The person's runtime folder
// (XDG_RUNTIME_DIR: the client's lock and inbox copy) lies in that folder too.
class TempSite
{
public:
    TempSite();
    ~TempSite();
    TempSite(const TempSite &) = delete;
    TempSite &operator=(const TempSite &) = delete;

    QString root() const { return dir_.path(); }
    // A path of the system ("c:\group\x", "\\SERVER\...") as a path of this machine, for a test that
    // names a file as the system does; a path of this machine (what site:: gives) stays as it is.
    QString local(const QString &systemPath) const;
    // Creates the share of SERVER with its folders and the four empty registry files, the local folder
    // and the locator naming the server.
    void makeSite(const QString &server = QStringLiteral("SERVER"));

    // Raw bytes of a file (named either way, as local() takes it), empty when missing.
    QByteArray bytes(const QString &systemPath) const;
    void writeBytes(const QString &systemPath, const QByteArray &bytes) const;

private:
    QTemporaryDir dir_;
    QByteArray previousRoot_;
    bool hadRoot_ = false;
    QByteArray previousRuntime_;
    bool hadRuntime_ = false;
};

// For one test: an account whose home folder cannot be made and that has no session (no
// XDG_RUNTIME_DIR, no XDG_CACHE_HOME), with the system's temporary folder in a fresh folder. The
// previous environment comes back at the end.
class NoHomeOrSession
{
public:
    NoHomeOrSession();
    ~NoHomeOrSession();
    NoHomeOrSession(const NoHomeOrSession &) = delete;
    NoHomeOrSession &operator=(const NoHomeOrSession &) = delete;

    QString tempFolder() const { return temp_.path(); }
    // The account's own folder there: TMPDIR/perumina-UID.
    QString accountFolder() const;

private:
    QTemporaryDir temp_;
    QList<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

// Code page 932 bytes of a literal, for comparing files byte by byte.
QByteArray sjis(const QString &text);

// Where tests put pictures of screens, build/screens (created); empty when PERUMINA_SCREENS is unset,
// in which case screenshot tests skip.
QString screensDir();

// Folder of the built programs and of the test helpers.
QString binDir();
QString testBinDir();

} // namespace testing_support
