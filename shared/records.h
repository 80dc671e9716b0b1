#pragma once

#include "shared/status.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace perumina {

// The server name from the locator file: its lines joined with nothing between, nothing trimmed. A
// leading UTF-8 mark is read as nothing (the rest then as UTF-8), and a name of white space only as
// empty. Nothing when the file cannot be opened or read; an empty text means no server name is set.
std::optional<QString> ReadServerName();

// Appends each value as one line "value" CR LF, in list order, under the file's lock. Values are
// written unescaped. Refused whole, before anything is written, when a value cannot be encoded.
Status AppendQuotedRecords(const QString &path, const QStringList &values);

// The bytes AppendQuotedRecords writes for values; nothing when a value cannot be encoded.
std::optional<QByteArray> quotedRecordBytes(const QStringList &values);

// Reads the file as a stream of fields; nothing when it cannot be opened, is not a regular file or is
// larger than its kind allows (never an empty list for such a file); problem then names the file and
// the cause (see readFileBytes).
std::optional<QStringList> ReadFields(const QString &path, QString *problem = nullptr);

// Reads the file as lines without their line ends, quotes kept; a run of empty lines comes back as one
// empty line. Nothing when the file cannot be opened or read, as ReadFields.
std::optional<QStringList> ReadLines(const QString &path, QString *problem = nullptr);

// The field rules on text already read: spaces before a field are skipped; a field that begins with a
// quote runs to the next quote, and the rest up to and past the next comma or line end is skipped;
// a quote not closed on its line, when a later quote follows, is a line cut off by a killed writer and
// the line is skipped (one never closed runs to the end);
// any other field runs to the next comma or line end (its trailing spaces dropped). An empty line
// gives no field.
QStringList parseFields(const QString &text);

} // namespace perumina
