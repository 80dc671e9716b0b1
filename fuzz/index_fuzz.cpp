// The date index 日付取得.txt and the month index 年月取得.txt are text files anyone may edit: both
// searches must stand any bytes, and a row they report must be a row number.
#include "boards/skeleton/indexsearch.h"
#include "boards/skeleton/workbook.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes pick the day searched for, within a few school years.
    const QDate day = QDate(2024, 4, 1).addDays((data[0] << 8 | data[1]) % 1500);
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));
    const QString document = boards::indexDocument(bytes);
    for (const boards::MarkerSearch &search :
         {boards::findDateRow(document, day), boards::findMonthRow(document, day)}) {
        if (search.found() && !boards::parseRowNumber(search.value))
            abort();
        if (search.position1 < 0 || search.position1 > document.size() + 1)
            abort();
    }
    return 0;
}
