// Board data files are edited by hand and in spreadsheets: any bytes must read without a crash, and
// what the workbook writes back must read as the same cells.
#include "boards/skeleton/csv.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const boards::CsvTable table = boards::parseCsv(bytes);
    const boards::CsvTable again = boards::parseCsv(boards::writeCsv(table.rows));
    if (again.rows != table.rows || again.unclosedQuote)
        abort();
    return 0;
}
