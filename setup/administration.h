#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QStringList>

class QCommandLineParser;
class QTextStream;

namespace setup {

// The registry tasks of a school year from the command line: a forgotten password reset
// (--reset-password USER, the new password from standard input) and people who leave retired
// (--retire FULLNAME..., --retire-list FILE). Each needs the staff's rights and is written to the
// administration record with the account that ran it.
class AdministrationOptions
{
public:
    // Adds the options to parser, before it processes the command line.
    explicit AdministrationOptions(QCommandLineParser &parser);

    bool requested(const QCommandLineParser &parser) const;
    // The options, for the usage text.
    QList<QCommandLineOption> options() const { return {resetOption_, retireOption_, retireListOption_}; }
    // Runs the task asked for and gives the exit code: 0 done, 1 refused or failed (an unknown name
    // writes nothing), 2 a wrong command line.
    int run(const QCommandLineParser &parser, QTextStream &out, QTextStream &err) const;

private:
    QCommandLineOption resetOption_;
    QCommandLineOption retireOption_;
    QCommandLineOption retireListOption_;
};

// The full names of a list file, one a line, in UTF-8 (with or without its mark) or code page 932,
// whichever the bytes are; white space around a name and empty lines are dropped.
QStringList readNameList(const QByteArray &bytes);

// The account that runs this program, for the record: the login name, and who used sudo.
QString operatingAccount();

} // namespace setup
