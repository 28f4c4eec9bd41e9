// The window as an X server shows it: grabs of the real window in each theme, with the background, the sidebar
// and a card checked against the theme's colours. With WRENLOW_SCREENSHOT_DIR set, the grabs are saved there.
#include "ui/BlurredShape.h"
#include "ui/ContentView.h"
#include "ui/GlassCard.h"
#include "ui/SidebarView.h"
#include "ui/ThemeSetting.h"
#include "ui/TopBar.h"
#include "ui/WindowBackground.h"
#include "ui/WrenlowMacApp.h"
#include "ui/WrenlowTheme.h"

#include "FakeMacEnvironment.h"
#include "workflow/DashboardViewModel.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace wrenlow;

namespace {

bool near(const QColor &actual, const QColor &expected, int tolerance = 3)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance;
}

QByteArray describe(const char *what, const QColor &actual, const QColor &expected)
{
    return QByteArray(what) + ": drawn " + actual.name().toLatin1() + ", expected " + expected.name().toLatin1();
}

} // namespace

class XvfbWindowScreenshot : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowIsDrawnInTheThemesColours_data();
    void windowIsDrawnInTheThemesColours();

private:
    QTemporaryDir m_config;
};

void XvfbWindowScreenshot::initTestCase()
{
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    WrenlowMacApp::prepareApplication();
}

void XvfbWindowScreenshot::windowIsDrawnInTheThemesColours_data()
{
    QTest::addColumn<QString>("theme");
    QTest::newRow("light") << "light";
    QTest::newRow("dark") << "dark";
}

void XvfbWindowScreenshot::windowIsDrawnInTheThemesColours()
{
    QFETCH(QString, theme);
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Wrenlow", "Wrenlow Zel Mac")
        .setValue(ThemeSetting::key, theme);
    const Appearance appearance = theme == "light" ? Appearance::Light : Appearance::Dark;

    test::FakeMacEnvironment environment("apple-silicon-macbook");
    WrenlowMacApp app;
    app.window()->resize(1320, 840);
    app.window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(app.window()));
    QTRY_VERIFY_WITH_TIMEOUT(app.model().snapshot().has_value() && !app.model().isScanning(), 20000);
    QTest::qWait(400); // the refresh after the scan, and its paint

    const QImage grab = app.window()->screen()->grabWindow(app.window()->winId()).toImage();
    QVERIFY(!grab.isNull());
    if (const QString folder = qEnvironmentVariable("WRENLOW_SCREENSHOT_DIR"); !folder.isEmpty())
        QVERIFY(grab.save(QDir(folder).filePath("window-" + theme + ".png")));

    ContentView *content = app.content();
    const QImage background = WindowBackground::render(content->size(), appearance, 1.0).toImage();
    const QPoint contentOrigin = content->mapTo(app.window(), QPoint(0, 0));
    const auto drawn = [&](QPoint inContent) { return grab.pixelColor(contentOrigin + inContent); };

    // Just inside the page's padding, below the top bar: nothing but the background.
    const QPoint page(SidebarView::width + 1 + 6, TopBar::height + 6);
    QVERIFY2(near(drawn(page), background.pixelColor(page)),
             describe("background", drawn(page), background.pixelColor(page)));

    const QPoint sidebar(SidebarView::width / 2, content->height() / 2);
    const QColor sidebarColour =
        WrenlowTheme::over(WrenlowTheme::color(ThemeRole::Sidebar, appearance), background.pixelColor(sidebar));
    QVERIFY2(near(drawn(sidebar), sidebarColour), describe("sidebar", drawn(sidebar), sidebarColour));

    // A card's left padding, halfway down: background, the card's own shadow, the material, the panel.
    const QList<GlassCard *> cards = content->page(AppPage::Overview)->findChildren<GlassCard *>();
    QVERIFY(!cards.isEmpty());
    const GlassCard *card = cards.first();
    const QPoint inCard(9, card->height() / 2);
    const QPoint point = card->mapTo(content, inCard);
    const QImage shadow =
        BlurredShape::roundedRect(QSizeF(card->size()), GlassCard::cornerRadius, GlassCard::shadowSigma,
                                  WrenlowTheme::color(ThemeRole::CardShadow, appearance));
    const int margin = BlurredShape::margin(GlassCard::shadowSigma);
    const QColor underCard = WrenlowTheme::over(
        shadow.pixelColor(inCard - GlassCard::shadowOffset + QPoint(margin, margin)), background.pixelColor(point));
    const QColor cardColour = WrenlowTheme::over(WrenlowTheme::color(ThemeRole::Panel, appearance),
                                                 WrenlowTheme::over(GlassCard::materialTint(appearance), underCard));
    QVERIFY2(near(drawn(point), cardColour), describe("card", drawn(point), cardColour));
}

QTEST_MAIN(XvfbWindowScreenshot)
#include "XvfbWindowScreenshot.moc"
