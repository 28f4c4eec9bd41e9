// The window as an X server shows it: the translucent layers (background, sidebar, a card over its shadow and
// material) reach the screen composed in each theme, checked against the colours measured once from the theme's
// numbers.
#include "ui/components/GlassCard.h"
#include "ui/shell/ContentView.h"
#include "ui/shell/SidebarView.h"
#include "ui/shell/TopBar.h"
#include "ui/shell/WrenlowMacApp.h"
#include "ui/theme/ThemeSetting.h"

#include "FakeMacEnvironment.h"
#include "workflow/DashboardViewModel.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

class XvfbWindowScreenshot : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        WrenlowMacApp::prepareApplication();
    }

    void windowIsDrawnInTheThemesColours_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QColor>("page");
        QTest::addColumn<QColor>("sidebar");
        QTest::addColumn<QColor>("card");
        QTest::newRow("light") << "light" << QColor(0xf1f6fa) << QColor(0xf2f7fa) << QColor(0xf9fbfc);
        QTest::newRow("dark") << "dark" << QColor(0x0a0e17) << QColor(0x090d14) << QColor(0x191b23);
    }

    void windowIsDrawnInTheThemesColours()
    {
        QFETCH(QString, theme);
        QFETCH(QColor, page);
        QFETCH(QColor, sidebar);
        QFETCH(QColor, card);
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Wrenlow", "Wrenlow Zel Mac")
            .setValue(ThemeSetting::key, theme);
        test::FakeMacEnvironment environment("apple-silicon-macbook");
        WrenlowMacApp app;
        app.window()->resize(1320, 840);
        app.window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(app.window()));
        QTRY_VERIFY_WITH_TIMEOUT(app.model().snapshot().has_value() && !app.model().isScanning(), 20000);
        QTest::qWait(400); // the refresh after the scan, and its paint
        const QImage grab = app.window()->screen()->grabWindow(app.window()->winId()).toImage();
        ContentView *content = app.content();
        const GlassCard *firstCard = content->page(AppPage::Overview)->findChild<GlassCard *>();
        const QPoint origin = content->mapTo(app.window(), QPoint(0, 0));
        // Just inside the page's padding below the top bar; the sidebar's middle; a card's left padding.
        const QList<std::tuple<QPoint, QColor, const char *>> points{
            {QPoint(SidebarView::width + 1 + 6, TopBar::height + 6), page, "page"},
            {QPoint(SidebarView::width / 2, content->height() / 2), sidebar, "sidebar"},
            {firstCard->mapTo(content, QPoint(9, firstCard->height() / 2)), card, "card"},
        };
        for (const auto &[point, expected, layer] : points) {
            const QColor drawn = grab.pixelColor(origin + point);
            const int off =
                std::max({std::abs(drawn.red() - expected.red()), std::abs(drawn.green() - expected.green()),
                          std::abs(drawn.blue() - expected.blue())});
            QVERIFY2(off <= 3,
                     qPrintable(QString("%1 drawn %2, expected %3").arg(layer, drawn.name(), expected.name())));
        }
    }
};

QTEST_MAIN(XvfbWindowScreenshot)
#include "XvfbWindowScreenshot.moc"
