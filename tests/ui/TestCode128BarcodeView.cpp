#include "ui/overview/Code128BarcodeView.h"

#include "Code128Decoder.h"

#include <QTest>

#include <numeric>

using namespace wrenlow;

namespace {

// The barcode as it stands in its hero frame, on a screen of the given pixel ratio.
QImage grab(const QString &value, qreal ratio)
{
    Code128BarcodeView view(value);
    view.resize(190, 46);
    return test::renderAt(view, ratio);
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
        // clang-format off
        const QList<std::pair<const char *, QString>> values{
            {"12-character serial", "C02XK1ZJJG5J"}, {"10-character serial", "FVFH3K7LQ6"}, {"digits only", "0123456789012"},
            {"lower case kept", "c02xk1zjjg5j"}, {"a space", "C02 XK1Z"}, {"leading blank", " Not reported"},
            {"control character", "C02\tK1Z"}};
        // clang-format on
        for (const auto &[name, value] : values)
            for (const qreal ratio : {1.0, 1.5, 2.0})
                QTest::addRow("%s @%gx", name, ratio) << value << ratio;
    }

    void decodesToTheValue()
    {
        QFETCH(QString, value);
        QFETCH(qreal, ratio);
        const QImage image = grab(value, ratio);
        QCOMPARE(test::decodeCode128(image).value_or("<nothing read>"), value.toUtf8());
        // Code 128 bars and spaces are one to four modules wide, each module the same whole number of pixels.
        const int y = image.height() / 2;
        QList<int> runs; // between the edges where the middle row turns dark or light: from the first bar to the last
        for (int x = 1; x < image.width(); ++x)
            if ((qGray(image.pixel(x, y)) < 128) != (qGray(image.pixel(x - 1, y)) < 128))
                runs.append(x);
        std::adjacent_difference(runs.begin(), runs.end(), runs.begin());
        runs.removeFirst();
        const int module = *std::min_element(runs.cbegin(), runs.cend());
        for (const int run : runs)
            QVERIFY2(run % module == 0 && run / module <= 4, qPrintable(QString("a run of %1 pixels").arg(run)));
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
