#include "ui/Code128BarcodeView.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

namespace {

// What a screen of the given pixel ratio would show of the barcode in its hero frame.
QImage grab(const QString &value, qreal ratio)
{
    Code128BarcodeView view(value);
    view.resize(190, 46);
    QImage image(view.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    view.render(&image);
    return image;
}

} // namespace

// The barcode is read back by an independent decoder, so a wrong encoding or a blurred bar fails here.
class TestCode128BarcodeView : public QObject
{
    Q_OBJECT

private slots:
    void decodesToTheValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<qreal>("ratio");
        const QList<std::pair<const char *, QString>> values{
            {"12-character serial", "C02XK1ZJJG5J"},
            {"10-character serial", "FVFH3K7LQ6"},
            {"8 characters", "W8935A1B"},
            {"digits only", "0123456789012"},
            {"lower case kept", "c02xk1zjjg5j"},
            {"a space", "C02 XK1Z"},
            {"leading blank", " Not reported"},
            {"control character", "C02\tK1Z"},
        };
        for (const auto &[name, value] : values)
            for (const qreal ratio : {1.0, 2.0})
                QTest::addRow("%s @%gx", name, ratio) << value << ratio;
    }

    void decodesToTheValue()
    {
        QFETCH(QString, value);
        QFETCH(qreal, ratio);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("barcode.png");
        QVERIFY(grab(value, ratio).save(path));

        QProcess zbar;
        zbar.start("zbarimg", {"--raw", "-q", "-Sdisable", "-Scode128.enable", path});
        QVERIFY2(zbar.waitForFinished(30000), "zbarimg (zbar-tools) must be installed");
        QCOMPARE(zbar.exitCode(), 0);
        QCOMPARE(zbar.readAllStandardOutput(), value.toUtf8() + '\n');
    }

    void placeholderHasNoBars_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << "";
        QTest::newRow("not reported") << "Not reported";
        QTest::newRow("byte outside ASCII") << "C02XK\u00e91ZJ";
        QTest::newRow("refused by the encoder") << QString(400, 'A');
    }

    void placeholderHasNoBars()
    {
        QFETCH(QString, value);
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = grab(value, ratio);
            QVERIFY(image.pixelColor(image.rect().center()) != QColor(Qt::white));
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    QVERIFY2(qGray(image.pixel(x, y)) > 128, qPrintable(QString("dark pixel at %1,%2").arg(x).arg(y)));
        }
    }
};

QTEST_MAIN(TestCode128BarcodeView)
#include "TestCode128BarcodeView.moc"
