// The shared components the pages build on: theme, pill, buttons, hairlines, fields, outside text, icons.
#include "ui/components/Hairline.h"
#include "ui/components/LabeledField.h"
#include "ui/components/ModelRefresh.h"
#include "ui/components/PlainLabel.h"
#include "ui/components/StatusPill.h"
#include "ui/components/TintedButton.h"
#include "ui/shell/SidebarView.h"
#include "ui/shell/TopBar.h"
#include "ui/theme/IconProvider.h"
#include "ui/theme/ThemeSetting.h"
#include "ui/theme/WrenlowTheme.h"

#include "FakeMacEnvironment.h"
#include "scan/MacInventoryService.h"
#include "workflow/AppPage.h"
#include "workflow/DashboardViewModel.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextDocumentFragment>

using namespace wrenlow;

namespace {

// The contrast ratio of two opaque colours, as the web's accessibility guidelines define it.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF()) + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

} // namespace

class TestUiComponents : public QObject
{
    Q_OBJECT

private slots:
    void foregroundFollowsAnAppearanceSwitch()
    {
        QWidget window;
        auto *label = new QLabel("muted", &window);
        WrenlowTheme::setForeground(label, ThemeRole::Muted);
        // The application palette reaches the widgets one event-loop turn later.
        for (const Appearance appearance : {Appearance::Dark, Appearance::Light}) {
            QApplication::setPalette(WrenlowTheme::palette(appearance));
            QTRY_COMPARE(label->palette().color(QPalette::WindowText),
                         WrenlowTheme::color(ThemeRole::Muted, appearance));
        }
    }

    void stateAndValueColours_data()
    {
        QTest::addColumn<ThemeRole>("role");
        QTest::addColumn<QColor>("light");
        const QColor green = QColor::fromRgbF(0.204f, 0.78f, 0.349f), orange = QColor::fromRgbF(1, 0.584f, 0);
        using S = DiagnosticState;
        using V = InventoryValueState;
        // clang-format off
        QTest::newRow("Ready") << WrenlowTheme::stateColor(S::Ready) << QColor::fromRgbF(0.25f, 0.82f, 0.78f);
        QTest::newRow("Running") << WrenlowTheme::stateColor(S::Running) << QColor::fromRgbF(1, 0.8f, 0);
        QTest::newRow("Pass") << WrenlowTheme::stateColor(S::Pass) << green;
        QTest::newRow("Fail") << WrenlowTheme::stateColor(S::Fail) << QColor::fromRgbF(1, 0.231f, 0.188f);
        QTest::newRow("Review") << WrenlowTheme::stateColor(S::Review) << orange;
        QTest::newRow("N/A") << WrenlowTheme::stateColor(S::NotApplicable) << QColor::fromRgbF(0, 0, 0, 0.5f);
        QTest::newRow("normal value") << WrenlowTheme::valueColor(V::Normal) << QColor::fromRgbF(0, 0, 0, 0.85f);
        QTest::newRow("good value") << WrenlowTheme::valueColor(V::Good) << green;
        QTest::newRow("warning value") << WrenlowTheme::valueColor(V::Warning) << orange;
        // clang-format on
    }

    void stateAndValueColours()
    {
        QFETCH(ThemeRole, role);
        QTEST(WrenlowTheme::color(role, Appearance::Light), "light");
    }

    void fieldsWriteEditsAndRefreshWithoutEcho()
    {
        QString stored = "abcdef";
        int writes = 0;
        const TextBinding binding{[&] { return stored; }, [&](const QString &text) { stored = text, ++writes; }};
        LabeledField field("T", binding, "");
        field.lineEdit()->setCursorPosition(2);
        field.refresh();
        QCOMPARE(field.lineEdit()->cursorPosition(), 2);
        stored.clear(); // the model clears the credential after a sign-in
        field.refresh();
        QCOMPARE(field.lineEdit()->text(), "");
        QCOMPARE(writes, 0);
        QTest::keyClicks(field.lineEdit(), "  E 100 ");
        QCOMPARE(stored, "  E 100 ");
        // A paste past Qt's default limit of 32,767 characters reaches the model whole.
        const QString pasted = QString(40000, 'p');
        QGuiApplication::clipboard()->setText(pasted);
        field.lineEdit()->clear();
        QTest::keySequence(field.lineEdit(), QKeySequence::Paste);
        QCOMPARE(stored.size(), pasted.size());
        SecureLabeledField pin("6-DIGIT PIN", binding, "PIN");
        QCOMPARE(pin.lineEdit()->echoMode(), QLineEdit::Password);
        QVERIFY(!pin.lineEdit()->displayText().contains("E 100"));
    }

    void prominentLabelsStayReadable_data()
    {
        QTest::addColumn<ThemeRole>("tint");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<Appearance>("appearance");
        QTest::addColumn<QColor>("behind"); // the page under the button, near each theme's background
        const QColor light(0xf8fbfd), dark(0x0e131f);
        // clang-format off
        QTest::newRow("Scan Mac, light") << ThemeRole::Accent << true << Appearance::Light << light;
        QTest::newRow("Scanning, light") << ThemeRole::Accent << false << Appearance::Light << light;
        QTest::newRow("Scanning, dark") << ThemeRole::Accent << false << Appearance::Dark << dark;
        QTest::newRow("Sign In disabled, light") << ThemeRole::Accent2 << false << Appearance::Light << light;
        QTest::newRow("keyboard Pass, light") << ThemeRole::Green << true << Appearance::Light << light;
        // clang-format on
    }

    void prominentLabelsStayReadable()
    {
        QFETCH(ThemeRole, tint);
        QFETCH(bool, enabled);
        QFETCH(Appearance, appearance);
        QFETCH(QColor, behind);
        TintedButton button("Scanning", TintedButton::Style::Prominent, tint);
        button.setPalette(WrenlowTheme::palette(appearance));
        button.setEnabled(enabled);
        button.resize(120, 36);
        QImage image(button.size(), QImage::Format_RGB32);
        image.fill(behind);
        button.render(&image, {}, {}, QWidget::DrawChildren);
        const QColor fill = image.pixelColor(4, 18);
        double best = 1;
        for (int y = 8; y < 28; ++y)
            for (int x = 20; x < 100; ++x)
                best = std::max(best, contrast(image.pixelColor(x, y), fill));
        QVERIFY2(best >= 3.0, qPrintable(QString::number(best, 'f', 2) + " against " + fill.name()));
    }

    void hairlinesTakeWholeDevicePixels_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("pixels");
        QTest::newRow("1.5") << 1.5 << 1;
        QTest::newRow("2") << 2.0 << 2;
    }

    void hairlinesTakeWholeDevicePixels()
    {
        QFETCH(qreal, ratio);
        QFETCH(int, pixels);
        QWidget parent;
        parent.setPalette(WrenlowTheme::palette(Appearance::Dark));
        Hairline line(Qt::Horizontal, &parent);
        line.resize(40, 1);
        // At every position a row of the window can take, the line is equally thick.
        for (int top = 0; top < 4; ++top) {
            QImage image(QSize(40, 12) * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::black);
            line.render(&image, QPoint(0, top), {}, QWidget::RenderFlags());
            int rows = 0;
            for (int y = 0; y < image.height(); ++y)
                rows += image.pixelColor(int(20 * ratio), y) != QColor(Qt::black);
            QVERIFY2(rows == pixels, qPrintable(QString("at %1: %2 rows").arg(top).arg(rows)));
        }
    }

    void footerStatusKeepsItsWholeTextInTheTooltip()
    {
        DashboardViewModel model;
        SidebarView sidebar(model);
        sidebar.resize(SidebarView::width, 700);
        const QString warning =
            "Report save warning: Could not create the folder "
            "/Users/technician/Library/Application Support/Wrenlow Zel Mac/Reports (permission denied)";
        model.setStatusText(warning);
        sidebar.refresh();
        const QString tip = sidebar.findChild<PlainLabel *>("footerStatus")->toolTip();
        QCOMPARE(QTextDocumentFragment::fromHtml(tip).toPlainText().simplified(), warning);
    }

    // A label keeps the lines of a text from outside; a pill shows it upper case on one short line.
    void outsideTextIsCleaned_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("pill");
        const QString thumb = QString::fromUtf8("ok \xF0\x9F\x91\x8D");
        // clang-format off
        QTest::newRow("markup stays literal") << "<b>Bad</b> <img src=x>" << "<b>Bad</b> <img src=x>" << "<B>BAD</B> <IMG SRC=X>";
        QTest::newRow("controls removed") << (QString("a") + QChar(0) + "b\u0007c\u001b[31md") << "abc[31md" << "ABC[31MD";
        QTest::newRow("direction overrides removed") << QString("file\u202Egnp.exe") << "filegnp.exe" << "FILEGNP.EXE";
        QTest::newRow("tabs and CRLF") << "a\tb\r\nc" << "a b\nc" << "A B C";
        QTest::newRow("emoji kept") << thumb << thumb << QString::fromUtf8("OK \xF0\x9F\x91\x8D");
        QTest::newRow("half a surrogate pair and a lone CR dropped") << (QString("a") + QChar(0xD83D) + "b\rc" + QChar(0xDC4D)) << "abc" << "ABC";
        QTest::newRow("long tool output") << QString(200, 'x') << QString(200, 'x') << QString(47, 'X') + QChar(0x2026);
        // clang-format on
    }

    void outsideTextIsCleaned()
    {
        QFETCH(QString, text);
        PlainLabel label;
        label.setOutsideText(text);
        QTEST(label.text(), "shown");
        QCOMPARE(label.textFormat(), Qt::PlainText);
        StatusPill pill(text, ThemeRole::Accent2);
        QTEST(pill.displayText(), "pill");
        QCOMPARE(pill.text(), text);
    }

    void cappedTextKeepsItsFullPlainTextInTheTooltip()
    {
        PlainLabel label;
        label.setLengthCap(10);
        label.setOutsideText("<b>0123456789</b>");
        QCOMPARE(label.text(), QString("<b>0123456") + QChar(0x2026));
        QVERIFY(label.toolTip().contains("&lt;b&gt;0123456789&lt;/b&gt;"));
        label.setOutsideText("short");
        QCOMPARE(label.toolTip(), QString());
        // A megabyte from outside is not laid out whole in a tooltip either.
        label.setOutsideText(QString(1 << 20, 'x'));
        QCOMPARE(label.outsideText().size(), 1 << 20);
        QVERIFY(label.toolTip().size() < 2 * toolTipLengthCap);
    }

    void wrappingBreaksLongWordsAndStopsAtTheLineLimit()
    {
        PlainLabel label;
        const int line = qCeil(QFontMetricsF(label.font()).lineSpacing());
        label.setOutsideText("Model " + QString(300, 'W'));
        QVERIFY(label.minimumSizeHint().width() < 100);
        QVERIFY(label.heightForWidth(100) >= 10 * line);
        label.setLineLimit(2);
        label.setOutsideText("short");
        QCOMPARE(label.heightForWidth(200), line);
        label.setOutsideText(QString("word ").repeated(200));
        QCOMPARE(label.heightForWidth(200), 2 * line);
        label.setOutsideText("one\ntwo\nthree");
        QCOMPARE(label.heightForWidth(200), 2 * line);
    }

    void topBarTitleGivesWayToTheControls_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("osVersion");
        QTest::addColumn<QString>("versionTip"); // how the version pill's tooltip starts, as plain text; empty: none
        const QString ordinary = "MacBook Pro with a rather long but ordinary model name x MPHE3LL/A";
        const QString version = "macOS 14.5 (23F79)";
        const QString beta = "macOS 15.0 <b>Beta</b>\u202E " + QString(toolTipLengthCap, 'W');
        QTest::newRow("66 characters") << ordinary << version << "";
        QTest::newRow("a 50-letter word") << "MacBook Pro " + QString("Abcdefghij").repeated(5) << version << "";
        QTest::newRow("a long version with markup") << ordinary << beta << "macOS 15.0 <b>Beta</b> WWW";
    }

    void topBarTitleGivesWayToTheControls()
    {
        QFETCH(QString, model);
        QFETCH(QString, osVersion);
        QFETCH(QString, versionTip);
        test::FakeMacEnvironment environment("no-tools"); // a fresh home for the model's queue
        DashboardViewModel viewModel;
        ThemeSetting theme;
        InventorySnapshot snapshot;
        snapshot.model = model;
        snapshot.serial = "C02XK1ZJJG5J";
        snapshot.osVersion = osVersion;
        viewModel.setSnapshot(snapshot);
        TopBar bar(viewModel, theme);
        bar.refresh();
        // The narrowest top bar: the window's minimum less the sidebar.
        bar.resize(1180 - 224, TopBar::height);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        auto *title = bar.findChild<PlainLabel *>("topBarTitle");
        QVERIFY(title->toolTip().contains(model));
        QVERIFY(title->width() < title->fontMetrics().horizontalAdvance(model));
        QCOMPARE(title->height(), qCeil(QFontMetricsF(title->font()).lineSpacing())); // one line, ending in "…"
        // The version pill is cut short instead, its whole text in the tooltip, cleaned, capped and never markup.
        auto *pill = bar.findChild<StatusPill *>("osVersionPill");
        const QString tip = QTextDocumentFragment::fromHtml(pill->toolTip()).toPlainText();
        QCOMPARE(pill->displayText().endsWith(QChar(0x2026)), !versionTip.isEmpty());
        QCOMPARE(tip.isEmpty(), versionTip.isEmpty());
        QVERIFY2(tip.startsWith(versionTip), qPrintable(tip.left(40)));
        QVERIFY(pill->toolTip().size() < 2 * toolTipLengthCap);
        // The controls keep their size at every width, even one narrower than they need.
        for (const int width : {1180 - 224, 400}) {
            bar.resize(width, TopBar::height);
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            for (const char *name : {"themeToggle", "osVersionPill", "scanButton"}) {
                const QWidget *control = bar.findChild<QWidget *>(name);
                QCOMPARE(control->size().width(), control->sizeHint().width());
                QVERIFY(width < 900 || bar.rect().contains(control->geometry()));
            }
        }
    }

    void everySymbolOfAScanHasAnIcon_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("laptop") << "apple-silicon-macbook";
        QTest::newRow("desktop") << "intel-desktop";
        QTest::newRow("no tools") << "no-tools";
    }

    void everySymbolOfAScanHasAnIcon()
    {
        QFETCH(QString, scenario);
        test::FakeMacEnvironment environment(scenario);
        const InventorySnapshot snapshot = MacInventoryService::build(MacInventoryService::runTools({}));
        QStringList symbols;
        for (const InventorySection &section : snapshot.sections)
            symbols << section.symbol;
        for (const DiagnosticItem &item : snapshot.diagnostics)
            symbols << item.symbol;
        for (const AppPage page : allAppPages())
            symbols << symbolName(page);
        for (const QString &symbol : symbols)
            QVERIFY2(IconProvider::hasSymbol(symbol), qPrintable(symbol));
    }

    void iconsAreTintedAndUnknownNamesFallBack()
    {
        const QImage tinted = IconProvider::pixmap("checkmark.circle", 32, Qt::red).toImage();
        QCOMPARE(tinted.size(), QSize(32, 32));
        QCOMPARE(tinted.pixelColor(16, 1), QColor(Qt::red)); // the top of the ring
        QCOMPARE(tinted.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(IconProvider::hasSymbol("no.such.symbol"), false);
        QCOMPARE(IconProvider::pixmap("no.such.symbol", 24, Qt::blue).toImage(),
                 IconProvider::pixmap("questionmark.circle", 24, Qt::blue).toImage());
    }

    void changesRefreshOncePerEventLoopTurn()
    {
        test::FakeMacEnvironment environment("no-tools"); // a fresh home for the model's queue
        DashboardViewModel model;
        QList<ModelRefresh::Fields> refreshes;
        ModelRefresh refresh(model, nullptr, [&](const ModelRefresh::Fields &changed) { refreshes << changed; });
        for (int i = 0; i < 10; ++i)
            model.setEmpID(QString::number(i));
        model.setStatusText("Scanning this Mac");
        QVERIFY(refreshes.isEmpty());
        QTRY_COMPARE(refreshes.size(), 1);
        QCOMPARE(refreshes.first(),
                 (ModelRefresh::Fields{DashboardViewModel::Field::empID, DashboardViewModel::Field::statusText}));
        QCoreApplication::processEvents();
        QCOMPARE(refreshes.size(), 1);
        model.setIsScanning(true); // a change after the refresh asks for the next one
        QTRY_COMPARE(refreshes.size(), 2);
        QCOMPARE(refreshes.last(), ModelRefresh::Fields{DashboardViewModel::Field::isScanning});
    }
};

QTEST_MAIN(TestUiComponents)
#include "TestUiComponents.moc"
