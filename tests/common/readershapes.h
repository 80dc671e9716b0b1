#pragma once

// The worst shapes a pupil can fill a shared file with, for the bounded readers' test and benchmark.
#include <QByteArray>
#include <QRandomGenerator>

namespace testing_support {

struct Shape
{
    const char *name;
    QByteArray piece; // repeated to the size; empty: random bytes
};

inline const Shape kShapes[] = {
    {"one-letter lines", "a\r\n"}, {"a, repeated", "a,"}, {"all commas", ","},
    {"NUL", QByteArray(1, '\0')},  {"all 0x81", "\x81"},  {"one line", "\x82\xa0"},
    {"random bytes", {}},          {"all quotes", "\""},  {"all CR", "\r"},
};

inline QByteArray shaped(const Shape &shape, qsizetype size)
{
    if (shape.piece.isEmpty()) {
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator(20).fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
        return bytes;
    }
    return shape.piece.repeated(qMax<qsizetype>(1, size / shape.piece.size()));
}

} // namespace testing_support
