// The mask stream on any bytes: a stream is refused (no shape) or read, and a shape that was
// read writes a stream that reads back as the same shape.
#include "FuzzCheck.h"
#include "tests/support/WindowShapeStream.h"
#include "ui/skin/SkinWidget.h"

using namespace tockwell;
using tockwell::fuzz::check;
using tockwell::test::readShape;
using tockwell::test::shapeStream;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    WindowShape region;
    if (!readShape(region, fuzz::bytesOf(data, size))) {
        check(region.isEmpty(), "a refused stream leaves no shape");
        return 0;
    }
    const QByteArray written = shapeStream(region);
    WindowShape again;
    check(readShape(again, written), "a written stream reads back");
    check(again.region() == region.region(), "the shape survives writing and reading");
    check(shapeStream(again) == written, "the stream is written the same way twice");
    return 0;
}
