#include "ui/skin/ImageFile.h"

#include <QBuffer>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tockwell;

class TestImageFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QImage picture(12, 7, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(m_dir.filePath(u"picture.png"_qs), "PNG"));
        QVERIFY(picture.save(m_dir.filePath(u"picture.jpg"_qs), "JPEG"));
        // A PNG under a JPEG's name: the format given decides, not the name.
        QVERIFY(picture.save(m_dir.filePath(u"png-named.jpg"_qs), "PNG"));
    }

    // The style's group box frame comes from the cache: its reading does not guess the format.
    void theStyleFindsItsFramePictureCached()
    {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_qs)); // its files
        const QPixmap cached = cacheStylePictures();
        QVERIFY(!cached.isNull());
        const QPixmap asTheStyleReadsIt(
            u":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"_qs);
        QCOMPARE(asTheStyleReadsIt.cacheKey(), cached.cacheKey());
    }

    // Read in the format given, and only in it: a file of another format is a null image.
    void readsOnlyTheGivenFormat_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("the skin's BMP")
            << u":/skin/setup.bmp"_qs << QByteArray("BMP") << QSize(474, 245);
        QTest::newRow("a PNG") << u"picture.png"_qs << QByteArray("PNG") << QSize(12, 7);
        QTest::newRow("a JPEG") << u"picture.jpg"_qs << QByteArray("JPEG") << QSize(12, 7);
        QTest::newRow("a PNG named .jpg")
            << u"png-named.jpg"_qs << QByteArray("PNG") << QSize(12, 7);
        QTest::newRow("a PNG named .jpg, read as JPEG")
            << u"png-named.jpg"_qs << QByteArray("JPEG") << QSize();
        QTest::newRow("a BMP read as PNG")
            << u":/skin/setup.bmp"_qs << QByteArray("PNG") << QSize();
        QTest::newRow("not a picture") << u":/skin/setup.rgn"_qs << QByteArray("BMP") << QSize();
        QTest::newRow("missing") << u"missing.png"_qs << QByteArray("PNG") << QSize();
    }
    void readsOnlyTheGivenFormat()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, format);
        QFETCH(QSize, size);
        if (!path.startsWith(u':'))
            path = m_dir.filePath(path);
        const QImage image = readImage(path, format.constData());
        QCOMPARE(image.isNull(), size.isEmpty());
        if (!size.isEmpty())
            QCOMPARE(image.size(), size);
    }

    // A lazy picture is read at the first ask, kept, dropped by release and read again; a
    // picture given decoded stays; a missing file stays null.
    // A bitmap whose rows run from the top is shown where it lies; any other file is not.
    void showsATopDownBitmapInPlace_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("inPlace");
        QImage picture(13, 5, QImage::Format_RGB32); // rows padded: 39 bytes in 40
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 19, y * 50, 255 - x * y));
        const QByteArray topDown = topDownBitmap(picture);
        QByteArray bottomUp;
        QBuffer buffer(&bottomUp);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(picture.save(&buffer, "BMP"));
        QTest::newRow("from the top") << topDown << true;
        QTest::newRow("from the bottom") << bottomUp << false;
        QTest::newRow("cut short") << topDown.first(topDown.size() - 1) << false;
        QTest::newRow("no header") << topDown.first(20) << false;
        QTest::newRow("not a bitmap") << QByteArray("PK") + topDown.sliced(2) << false;
    }
    void showsATopDownBitmapInPlace()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, inPlace);
        const QImage shown = bitmapInPlace(file);
        QCOMPARE(!shown.isNull(), inPlace);
        if (!inPlace)
            return;
        QVERIFY(shown.constBits() > reinterpret_cast<const uchar *>(file.constData()));
        QImage read;
        QVERIFY(read.loadFromData(file, "BMP")); // a BMP as any other
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 read.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(read.pixel(12, 4), qRgb(12 * 19, 4 * 50, 255 - 48));
    }

    void lazyImageReadsWhenAskedFor()
    {
        LazyImage file(u":/skin/ib_Start_over.bmp"_qs, "BMP");
        QVERIFY(!file.isDecoded());
        QCOMPARE(file.image(), readImage(u":/skin/ib_Start_over.bmp"_qs, "BMP"));
        QVERIFY(file.isDecoded());
        file.release();
        QVERIFY(!file.isDecoded());
        QCOMPARE(file.image().size(), QSize(31, 31));

        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        LazyImage given(picture);
        given.release();
        QVERIFY(given.isDecoded());
        QCOMPARE(given.image(), picture);

        const LazyImage missing(m_dir.filePath(u"missing.bmp"_qs), "BMP");
        QVERIFY(missing.isNull());
        QVERIFY(!missing.isDecoded());
        QVERIFY(LazyImage().isNull());
    }
};

QTEST_MAIN(TestImageFile)
#include "tst_imagefile.moc"
