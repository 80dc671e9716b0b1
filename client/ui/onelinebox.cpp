#include "client/ui/onelinebox.h"

#include <QLineEdit>
#include <QValidator>

namespace client {

namespace {

class OneLineValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override
    {
        QString joined;
        joined.reserve(input.size());
        int cursor = position;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c == u'\r' && i + 1 < input.size() && input[i + 1] == u'\n') {
                if (i + 1 < position)
                    --cursor; // CR LF becomes one space
                continue;
            }
            joined += (c == u'\r' || c == u'\n') ? QChar(u' ') : c;
        }
        input = joined;
        position = cursor;
        return Acceptable;
    }
};

} // namespace

void keepOnOneLine(QLineEdit *box)
{
    box->setValidator(new OneLineValidator(box));
}

} // namespace client
