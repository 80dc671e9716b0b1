#pragma once

#include "shared/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace setup {

struct SiteOptions
{
    QString server;          // the staff-room computer's name, written into the locator
    QString adminId;         // administrator record, written only when both are given
    QString adminPassword;
    QString sweeperProgram;  // the InboxSweep program to copy into the local folder
};

// What a run did: every path it created, and the first failure, if any.
struct Report
{
    QStringList created;
    QStringList updated; // files replaced because they were out of date (the local sweeper copy)
    perumina::Status status;
};

// Creates what is missing of a site under the current site root; never overwrites what exists, except
// the local sweeper copy, which is replaced when it differs from the installed sweeper.
// Paths are the system's own (c:\group\..., \\SERVER\...).
void createSite(const SiteOptions &options, Report &report);

// Building blocks, also for the board data: each creates only what is missing and records it.
bool ensureFolder(const QString &path, Report &report);
bool ensureFile(const QString &path, const QByteArray &content, Report &report);
bool ensureTextFile(const QString &path, const QString &text, Report &report);

// Text of the administrator file: one line of five fields, the first being ID and password run together.
QString administratorRecord(const QString &id, const QString &password);

// Why an administrator ID or password cannot be stored, or empty when it can.
QString checkAdministratorValue(const QString &value);

} // namespace setup
