// The registry and administrator files are written by hand or by other computers: any bytes must
// read without a crash, and what is read must be no longer than what was there.
#include "shared/records.h"
#include "shared/textfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = perumina::decodeCp932(bytes);
    qsizetype total = 0;
    for (const QString &field : perumina::parseFields(text))
        total += field.size();
    if (total > text.size())
        abort();
    qsizetype lineTotal = 0;
    for (const QString &line : perumina::splitLines(text))
        lineTotal += line.size();
    if (lineTotal > text.size())
        abort();
    return 0;
}
