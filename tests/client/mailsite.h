#pragma once

#include "common/testsite.h"

#include <QString>
#include <ostream>

namespace testing_support {

// Registers a user on SERVER the way registration leaves the share: one record in each of the four
// registry files, the user folder with the template inbox, and the administration copy folder.
void registerUser(const TempSite &site, const QString &userName, const QString &fullName,
                  const QString &password);

} // namespace testing_support

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
