#pragma once

// A window shape and its mask stream, through a buffer in memory.
#include "ui/skin/WindowShape.h"

#include <QBuffer>
#include <QByteArray>

namespace tockwell::test {

/// Reads the mask stream `bytes` into `shape`; false when the stream is refused.
inline bool readShape(WindowShape &shape, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return shape.readData(buffer);
}

/// The mask stream that `shape` writes.
inline QByteArray shapeStream(const WindowShape &shape)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    shape.writeData(buffer);
    return bytes;
}

} // namespace tockwell::test
