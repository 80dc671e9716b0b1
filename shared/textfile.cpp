#include "shared/textfile.h"

#include "shared/boundedread.h"
#include "shared/paths.h"
#include "shared/sharedfile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace perumina {

// "windows-31j" is ICU's name for Microsoft's code page 932; "Shift_JIS" would map 0x8160 to 〜 U+301C.
static constexpr const char *kCodec = "windows-31j";

QString foldForCp932(QString text)
{
    static const struct
    {
        char16_t from, to;
    } folds[] = {
        {u'\u301C', u'\uFF5E'}, // WAVE DASH → FULLWIDTH TILDE
        {u'\u2212', u'\uFF0D'}, // MINUS SIGN → FULLWIDTH HYPHEN-MINUS
        {u'\u2016', u'\u2225'}, // DOUBLE VERTICAL LINE → PARALLEL TO
        {u'\u2014', u'\u2015'}, // EM DASH → HORIZONTAL BAR
        {u'\u00A2', u'\uFFE0'}, // CENT SIGN → FULLWIDTH CENT SIGN
        {u'\u00A3', u'\uFFE1'}, // POUND SIGN → FULLWIDTH POUND SIGN
        {u'\u00AC', u'\uFFE2'}, // NOT SIGN → FULLWIDTH NOT SIGN
    };
    for (const auto &f : folds)
        text.replace(QChar(f.from), QChar(f.to));
    return text;
}

std::optional<QByteArray> encodeCp932(const QString &text)
{
    QStringEncoder encoder(kCodec, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(foldForCp932(text));
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool canEncodeCp932(const QString &text)
{
    return encodeCp932(text).has_value();
}

static bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QString decodeCp932(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    // ICU marks some undecodable single bytes with SUB; the system shows them as U+FFFD.
    if (!bytes.contains('\x1A'))
        text.replace(QChar(0x1A), QChar(0xFFFD));
    qsizetype i = 0;
    while (i < bytes.size())
        i += isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i > bytes.size())
        text.append(QChar(0xFFFD));
    return text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::optional<QByteArray> readFileBytes(const QString &path, QString *problem)
{
    BoundedRead read = readBounded(path);
    if (problem)
        *problem = read.problem;
    return std::move(read.bytes);
}

std::optional<QString> readTextFile(const QString &path, QString *problem)
{
    auto bytes = readFileBytes(path, problem);
    if (!bytes)
        return std::nullopt;
    return decodeCp932(*bytes);
}

std::optional<QStringList> readTextLines(const QString &path, QString *problem)
{
    auto text = readTextFile(path, problem);
    if (!text)
        return std::nullopt;
    return splitLines(*text);
}

Status writeTextFile(const QString &path, const QString &text)
{
    auto bytes = encodeCp932(text);
    if (!bytes)
        return Status::failure(unencodableMessage(QString()));
    return rewriteLocked(path, [&](QByteArray &content, bool) {
        content = *bytes;
        return true;
    });
}

Status appendTextFile(const QString &path, const QString &text)
{
    auto bytes = encodeCp932(text);
    if (!bytes)
        return Status::failure(unencodableMessage(QString()));
    return appendLocked(path, *bytes);
}

QString unencodableMessage(const QString &what)
{
    const QString prefix = what.isEmpty() ? QString() : what + QStringLiteral("に");
    return prefix + QStringLiteral("使えない文字が含まれています。別の文字に変えて下さい。");
}

std::optional<RefusedCharacter> firstUnencodable(const QString &text)
{
    if (canEncodeCp932(text))
        return std::nullopt;
    RefusedCharacter at;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        const qsizetype length =
            c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        if (!canEncodeCp932(text.mid(i, length)))
            return RefusedCharacter{i, length, at.line, at.column};
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            ++at.line;
            at.column = 1;
        } else {
            ++at.column;
        }
        i += length;
    }
    return std::nullopt;
}

QString unencodableMessage(const QString &what, const QString &text)
{
    const QString message = unencodableMessage(what);
    const auto at = firstUnencodable(text);
    if (!at)
        return message;
    const QString character = text.mid(at->index, at->length);
    const char32_t code = QStringView(character).toUcs4().value(0);
    // A character with no glyph of its own (a zero-width space, a lone half of a pair) is named by its
    // code, since showing it would show nothing.
    const bool visible = at->length == 2 || (character[0].isPrint() && !character[0].isSpace());
    const QString shown = visible ? QStringLiteral("「%1」").arg(character)
                                  : QStringLiteral("見えない文字（U+%1）")
                                        .arg(QString::number(code, 16).toUpper().rightJustified(4, u'0'));
    const bool manyLines = text.contains(u'\r') || text.contains(u'\n');
    const QString where = manyLines ? QStringLiteral("%1行目の%2文字目").arg(at->line).arg(at->column)
                                    : QStringLiteral("%1文字目").arg(at->column);
    return message + QStringLiteral("\n（%1の%2）").arg(where, shown);
}

} // namespace perumina
