#pragma once

#include "shared/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace setup {

// What the computer being set up is. Local: a whole site on one disk (a demonstration, tests, a
// school with one computer). Server: the staff-room computer that holds and shares the data.
// Classroom: a computer that reaches the server's share; it gets only the local folder.
enum class Role
{
    Local,
    Server,
    Classroom
};

// What becomes of the administrator file when an ID and password are given.
enum class AdminChange
{
    IfMissing, // written only when the file does not exist yet
    Add,       // another administrator: the record is added unless the file holds it already
    Replace,   // the file holds this administrator alone afterwards
};

struct SiteOptions
{
    Role role = Role::Local;
    QString server;  // the staff-room computer's name, written into the locator
    QString adminId; // administrator record, written only when both are given
    QString adminPassword;
    AdminChange adminChange = AdminChange::IfMissing;
    QString sweeperProgram; // the InboxSweep program to copy into the local folder
    QString group;          // server: the group of every pupil and teacher, owner of the share
    QString staffGroup;     // server: the group that alone may read the administrator file
    QString sambaConf;      // server: where the Samba share definition is written
    QString smbConf;        // server: Samba's configuration that gets the line including sambaConf
};

// What a run did: every path it created, and the first failure, if any.
struct Report
{
    QStringList created;
    QStringList updated; // files replaced because they were out of date (the local sweeper copy)
    QStringList notes;   // what the person should know, printed after the list
    perumina::Status status;
};

// Creates what is missing of a site under the current site root; never overwrites what exists, except
// the local sweeper copy, which is replaced when it differs from the installed sweeper.
// A classroom computer gets the local folder only, and nothing when the share cannot be reached.
void createSite(const SiteOptions &options, Report &report);

// The staff-room server's last step, after everything on the share is made: the share's group and
// permissions, the Samba share definition and, with smbConf, its include line there; the whole
// configuration is then checked with testparm where it is installed.
void finishServerShare(const SiteOptions &options, Report &report);

// Why the server role cannot be set up with options, or empty: a group that does not exist, or a Samba
// file whose folder is missing. Checked before anything is written.
QString serverOptionsProblem(const SiteOptions &options);

// smbConf with the line "include = <includePath>" once, at the end of the [global] section (after its
// last setting, so that every global setting stays global), or in a new [global] section at the end
// when there is none. The same text when the line is there already and followed by nothing but another
// section; a line placed where settings follow it is moved.
QString withSambaInclude(const QString &smbConf, const QString &includePath);

// What testparm said beyond its usual lines (the file loaded, the server role, the crypto notice):
// the warnings and errors of a configuration, one a line.
QStringList testparmComplaints(const QString &stderrText);

// Gives paths (written by a job such as the new school year) the access the server role gives
// the share, whatever the umask: the group of the data folder, files 0660 and folders 02770.
bool giveShareAccess(const QString &server, const QStringList &paths, Report &report);

// Why this computer must not be set up for server, or empty: a locator that names another server
// belongs to another site, which a second run must not quietly turn into a new one.
QString locatorConflict(const QString &server);

// Why a classroom computer cannot use the share of server (not mounted or not linked), or empty.
QString shareUnreachable(const QString &server);

// The Samba share definition of the folder sharePath, open to the members of group, whose new files
// and folders stay group-writable.
QString sambaShareDefinition(const QString &sharePath, const QString &group);

// Building blocks, also for the board data: each creates only what is missing and records it.
bool ensureFolder(const QString &path, Report &report);
bool ensureFile(const QString &path, const QByteArray &content, Report &report);
bool ensureTextFile(const QString &path, const QString &text, Report &report);

// Text of the administrator file: one line of five fields, the first being ID and password run together.
QString administratorRecord(const QString &id, const QString &password);

// Why an administrator ID or password cannot be stored, or empty when it can.
QString checkAdministratorValue(const QString &value);

} // namespace setup
