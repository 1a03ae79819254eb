// The mask stream on any bytes: a stream is refused (no shape) or read, and a shape that was
// read writes a stream that reads back as the same shape.
#include "FuzzCheck.h"
#include "ui/skin/SkinWidget.h"

#include <QBuffer>

using namespace tockwell;
using tockwell::fuzz::check;

namespace {

bool readStream(WindowShape &region, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return region.readData(buffer);
}

QByteArray writtenStream(const WindowShape &region)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    region.writeData(buffer);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    WindowShape region;
    if (!readStream(region, fuzz::bytesOf(data, size))) {
        check(region.isEmpty(), "a refused stream leaves no shape");
        return 0;
    }
    const QByteArray written = writtenStream(region);
    WindowShape again;
    check(readStream(again, written), "a written stream reads back");
    check(again.region() == region.region(), "the shape survives writing and reading");
    check(writtenStream(again) == written, "the stream is written the same way twice");
    return 0;
}
