#include "ui/components/PlainLabel.h"
#include "ui/components/SelectableText.h"
#include "ui/components/StatusPill.h"
#include "ui/components/SymbolTile.h"
#include "ui/overview/Code128BarcodeView.h"
#include "ui/overview/HardwareCard.h"
#include "ui/overview/OverviewView.h"
#include "workflow/DashboardViewModel.h"

#include "Code128Decoder.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

namespace {

QList<InventoryValue> rows(int count)
{
    QList<InventoryValue> values;
    for (int index = 1; index <= count; ++index)
        values.append(InventoryValue(QString("Label %1").arg(index), QString("Value %1").arg(index)));
    return values;
}

InventorySnapshot snapshot(const QString &model = "MacBook Pro", const QString &architecture = "arm64",
                           const QString &serial = "C02XK1ZJJG5J", double elapsed = 12.345)
{
    InventorySnapshot result;
    result.model = model;
    result.architecture = architecture;
    result.serial = serial;
    result.elapsedSeconds = elapsed;
    result.sections = {
        InventorySection("identity", "Mac Identity", "laptopcomputer", rows(3), std::nullopt),
        InventorySection("memory", "Memory", "memorychip", rows(1), QString("Soldered memory.")),
        InventorySection("battery", "Battery", "battery.100", {}, QString("No internal battery detected.")),
    };
    for (int index = 0; index < 12; ++index)
        result.diagnostics.append(
            DiagnosticItem{QString("check-%1").arg(index), "Check", DiagnosticState::Ready, "", "cpu", {}});
    return result;
}

// The cards in reading order, and the values of a card from top to bottom.
QList<HardwareCard *> cards(const QWidget &page)
{
    QList<HardwareCard *> result = page.findChildren<HardwareCard *>();
    std::sort(result.begin(), result.end(),
              [](const QWidget *a, const QWidget *b) { return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x()); });
    return result;
}

template <typename T> QList<T *> topDown(const QWidget &card, const char *name)
{
    QList<T *> result = card.findChildren<T *>(name);
    std::sort(result.begin(), result.end(), [&](const QWidget *a, const QWidget *b) {
        return a->mapTo(&card, QPoint()).y() < b->mapTo(&card, QPoint()).y();
    });
    return result;
}

} // namespace

// The Overview page driven through the view model, read back from its real widgets.
class TestOverviewView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;
    std::unique_ptr<DashboardViewModel> m_model;
    std::unique_ptr<OverviewView> m_page;

    void show(const std::optional<InventorySnapshot> &value, int width = 1100)
    {
        m_model->setSnapshot(value);
        m_page->resize(width, 2000);
        m_page->show();
        QTest::qWait(0);
        QApplication::processEvents();
    }

    template <typename T = QLabel> T *child(const char *name) const { return m_page->findChild<T *>(name); }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        // The scan time is written with a point whatever the technician's language.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void init()
    {
        m_page.reset(); // before the model it reads
        m_model = std::make_unique<DashboardViewModel>();
        m_page = std::make_unique<OverviewView>(*m_model);
    }

    void beforeTheFirstScan()
    {
        show(std::nullopt);
        QCOMPARE(child<SymbolTile>("heroIcon")->symbol(), "desktopcomputer");
        QCOMPARE(child("heroTitle")->text(), "Scanning hardware");
        QVERIFY(!child<QWidget>("heroPills")->isVisible() && !child<QWidget>("scanColumn")->isVisible());
        QVERIFY(child<QWidget>("readingCard")->isVisible());
        QCOMPARE(child("readingText")->text(), "Reading this Mac…");
        QVERIFY(cards(*m_page).isEmpty());
    }

    void heroFollowsTheSnapshot_data()
    {
        for (const char *column : {"model", "architecture", "serial", "icon", "architecturePill", "elapsedText"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<double>("elapsed");
        QTest::addColumn<bool>("barcodeShown");
        // clang-format off
        QTest::newRow("Apple silicon laptop") << "MacBook Pro" << "arm64" << "C02XK1ZJJG5J" << "laptopcomputer" << "Apple Silicon" << "12.3s" << 12.345 << true;
        QTest::newRow("laptop in any case") << "macbook air" << "ARM64" << "FVFH3K7LQ6" << "laptopcomputer" << "Intel" << "10.0s" << 9.96 << true;
        QTest::newRow("fallback model") << "Mac" << "x86_64" << "Not reported" << "desktopcomputer" << "Intel" << "0.0s" << 0.0 << false;
        QTest::newRow("empty serial") << "iMac" << "" << "" << "desktopcomputer" << "Intel" << "3.0s" << 3.04 << true;
        // clang-format on
    }

    void heroFollowsTheSnapshot()
    {
        QFETCH(QString, model);
        QFETCH(QString, architecture);
        QFETCH(QString, serial);
        QFETCH(double, elapsed);
        QFETCH(bool, barcodeShown);
        show(snapshot(model, architecture, serial, elapsed));
        QTEST(child<SymbolTile>("heroIcon")->symbol(), "icon");
        QCOMPARE(child("heroTitle")->text(), model);
        QTEST(child<StatusPill>("architecturePill")->text(), "architecturePill");
        QCOMPARE(child<StatusPill>("sectionsPill")->text(), "3 sections");
        QCOMPARE(child<StatusPill>("checksPill")->text(), "12 checks");
        QTEST(child("elapsedTime")->text(), "elapsedText");
        // The identity column is as high as its texts and centred beside the taller scan column: the caption keeps
        // its own line's height and the model name stands 7 below it.
        const QLabel *caption = child("heroCaption");
        QCOMPARE(caption->height(), caption->fontMetrics().height());
        QCOMPARE(child("heroTitle")->y() - caption->geometry().bottom() - 1, 7);
        const auto middle = [](const QWidget *widget) { return widget->geometry().center().y(); };
        QVERIFY(std::abs(middle(child<QWidget>("heroIdentity")) - middle(child<QWidget>("heroIcon"))) <= 1);
        QVERIFY(child("elapsedTime")->isVisible() && !child<QWidget>("readingCard")->isVisible());
        auto *frame = child<QWidget>("barcodeFrame");
        QCOMPARE(frame->isVisible(), barcodeShown);
        QCOMPARE(child("serialText")->isVisible(), barcodeShown);
        if (!barcodeShown)
            return;
        QCOMPARE(child("serialText")->text(), serial);
        // The code in its frame, where the page put it, scans on a 1x and a 2x screen; an empty serial shows the
        // placeholder, which scans as nothing.
        for (const qreal ratio : {1.0, 2.0})
            QCOMPARE(test::decodeCode128(test::renderAt(*frame, ratio)).value_or("<nothing read>"),
                     serial.isEmpty() ? QByteArray("<nothing read>") : serial.toUtf8());
    }

    void cardShowsItsSection_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<bool>("hasMessage");
        QTest::addColumn<InventoryValueState>("state");
        QTest::newRow("one row") << 1 << false << InventoryValueState::Normal;
        QTest::newRow("three rows and a note") << 3 << true << InventoryValueState::Warning;
        QTest::newRow("a note and no rows") << 0 << true << InventoryValueState::Normal;
        QTest::newRow("good value") << 2 << false << InventoryValueState::Good;
    }

    void cardShowsItsSection()
    {
        QFETCH(int, rowCount);
        QFETCH(bool, hasMessage);
        QFETCH(InventoryValueState, state);
        QList<InventoryValue> values = rows(rowCount);
        if (!values.isEmpty())
            values.first().state = state;
        InventorySnapshot value = snapshot();
        value.sections = {InventorySection("section", "Section", "cpu", values,
                                           hasMessage ? std::optional<QString>("A note.") : std::nullopt)};
        show(value);
        const QList<HardwareCard *> shown = cards(*m_page);
        QCOMPARE(shown.size(), 1);
        const HardwareCard &card = *shown.first();
        QCOMPARE(card.findChild<QLabel *>("rowCount")->text(), QString::number(rowCount));
        QCOMPARE(card.findChild<PlainLabel *>("sectionMessage")->isVisible(), hasMessage);
        const QList<PlainLabel *> labels = topDown<PlainLabel>(card, "rowLabel");
        const QList<SelectableText *> valueTexts = topDown<SelectableText>(card, "rowValue");
        const QList<QWidget *> separators = card.findChildren<QWidget *>("rowSeparator");
        QCOMPARE(labels.size(), rowCount);
        QCOMPARE(separators.size(), std::max(0, rowCount - 1));
        for (int index = 0; index < rowCount; ++index) {
            QCOMPARE(labels[index]->text(), values[index].label);
            QCOMPARE(valueTexts[index]->text(), values[index].value);
        }
        // Hairlines stand only between rows: after the first row's top and before the last row's bottom.
        for (const QWidget *separator : separators) {
            const int y = separator->mapTo(&card, QPoint()).y();
            QVERIFY(y > labels.first()->mapTo(&card, QPoint()).y() && y < labels.last()->mapTo(&card, QPoint()).y());
        }
        if (rowCount == 0)
            return;
        const SelectableText &first = *valueTexts.first();
        QCOMPARE(first.font().weight(), state == InventoryValueState::Normal ? QFont::Normal : QFont::DemiBold);
        QCOMPARE(first.palette().color(QPalette::WindowText),
                 WrenlowTheme::color(WrenlowTheme::valueColor(state), Appearance::Light));
    }

    void longValueWrapsAndCopiesWhole()
    {
        const QString value = QString(160, 'X') + " ABCDEF";
        InventorySnapshot withLongValue = snapshot();
        withLongValue.sections.first().values.first().value = value;
        show(withLongValue, 560);
        auto *text = cards(*m_page).first()->findChildren<SelectableText *>("rowValue").first();
        const QWidget *card = text->parentWidget()->parentWidget();
        QVERIFY(card->rect().contains(QRect(text->mapTo(card, QPoint()), text->size())));
        QVERIFY(text->height() > 3 * text->fontMetrics().height());
        text->setFocus();
        QTest::keySequence(text, QKeySequence::SelectAll);
        QTest::keySequence(text, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), value);
    }

    void longOutsideTextStaysInsideThePage_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("value");
        const QString word50 = QString("Abcdefghij").repeated(5);
        // clang-format off
        QTest::newRow("66-character model") << "MacBook Pro with a rather long but ordinary model name x MPHE3LL/A" << "Apple M2 Pro";
        QTest::newRow("50-letter word in the model") << "MacBook Pro " + word50 << word50;
        QTest::newRow("a megabyte in one value") << "MacBook Pro" << QString("AppleM2Pro").repeated(100000);
        // clang-format on
    }

    void longOutsideTextStaysInsideThePage()
    {
        QFETCH(QString, model);
        QFETCH(QString, value);
        InventorySnapshot withLongText = snapshot(model);
        withLongText.sections.first().values.first().value = value;
        // The page of a window at its minimum width, 1180, less the sidebar.
        show(withLongText, 1180 - 224);
        QVERIFY(child<QWidget>("overviewContent")->width() <= m_page->width());
        const QWidget *barcode = child<QWidget>("barcodeFrame");
        QVERIFY(m_page->rect().contains(QRect(barcode->mapTo(m_page.get(), QPoint()), barcode->size())));
        // A value is shown cut after the length cap with the rest in the tooltip, laid out no further.
        const auto *shown = cards(*m_page).first()->findChildren<SelectableText *>("rowValue").first();
        QCOMPARE(shown->text().size(), std::min(value.size(), PlainLabel::defaultLengthCap + 1));
        QCOMPARE(shown->toolTip().isEmpty(), value.size() <= PlainLabel::defaultLengthCap);
        QVERIFY(shown->toolTip().size() < 2 * toolTipLengthCap);
    }

    void gridFitsColumnsToTheWidth_data()
    {
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("columns");
        // The grid is the page less 24 on each side; a column needs 300 and the gap before it 14.
        QTest::newRow("610 wide: one column") << 658 << 1;
        QTest::newRow("912 wide: two columns") << 960 << 2;
        QTest::newRow("942 wide: three columns") << 990 << 3;
    }

    void gridFitsColumnsToTheWidth()
    {
        QFETCH(int, pageWidth);
        QFETCH(int, columns);
        show(snapshot(), pageWidth);
        const QList<HardwareCard *> shown = cards(*m_page);
        QCOMPARE(shown.size(), 3);
        QSet<int> lefts;
        for (const HardwareCard *card : shown) {
            lefts.insert(card->x());
            QCOMPARE(card->width(), shown.first()->width());
        }
        QCOMPARE(lefts.size(), columns);
        if (columns > 1) {
            QCOMPARE(shown[1]->x() - shown[0]->geometry().right() - 1, 14);
            QVERIFY(shown[0]->height() != shown[1]->height()); // cards in one row keep their own heights
        }
    }

    void aNewScanUpdatesCardsInPlace()
    {
        InventorySnapshot first = snapshot();
        show(first);
        const QList<HardwareCard *> before = cards(*m_page);
        const QList<SelectableText *> valuesBefore = before.first()->findChildren<SelectableText *>("rowValue");
        // A technician's mark re-announces the snapshot with the same sections: nothing is rebuilt.
        first.diagnostics.first().state = DiagnosticState::Pass;
        show(first);
        QCOMPARE(cards(*m_page), before);
        QCOMPARE(before.first()->findChildren<SelectableText *>("rowValue"), valuesBefore);
        // The next scan drops a section and changes another: the remaining cards follow in place.
        InventorySnapshot next = snapshot("MacBook Air");
        next.sections.removeAt(1);
        next.sections.first().values = rows(4);
        show(next);
        QCOMPARE(cards(*m_page), (QList<HardwareCard *>{before.first(), before.last()}));
        QCOMPARE(before.first()->findChild<QLabel *>("rowCount")->text(), "4");
        QCOMPARE(before.first()->findChildren<QWidget *>("rowSeparator").size(), 3);
        QCOMPARE(child("heroTitle")->text(), "MacBook Air");
    }
};

QTEST_MAIN(TestOverviewView)
#include "TestOverviewView.moc"
