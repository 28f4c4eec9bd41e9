#include "ui/overview/Code128BarcodeView.h"

#include "ui/theme/WrenlowTheme.h"

#include <QPaintEvent>
#include <QPainter>

#include <zint.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace wrenlow {

namespace {

// Far above any serial number, far below what the encoder's int length could overflow on.
constexpr qsizetype maxEncodedBytes = 1024;

} // namespace

std::optional<Code128Symbol> Code128Symbol::encode(const QString &value)
{
    if (value.isEmpty() || value == u"Not reported")
        return std::nullopt;
    // The encoder would take Latin-1 bytes through its extended set; the serial number is ASCII or nothing.
    const QByteArray bytes = value.toUtf8();
    if (bytes.size() > maxEncodedBytes ||
        std::any_of(bytes.cbegin(), bytes.cend(), [](char byte) { return static_cast<unsigned char>(byte) > 0x7f; }))
        return std::nullopt;

    const std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> symbol(ZBarcode_Create(), &ZBarcode_Delete);
    if (!symbol)
        return std::nullopt;
    symbol->symbology = BARCODE_CODE128;
    symbol->input_mode = DATA_MODE;
    symbol->show_hrt = 0;
    const int status = ZBarcode_Encode_and_Buffer_Vector(
        symbol.get(), reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<int>(bytes.size()), 0);
    if (status >= ZINT_ERROR || symbol->vector == nullptr || symbol->width <= 0)
        return std::nullopt;

    // The vector output draws each bar as one rectangle in its own unit; turn those back into module positions and
    // refuse anything that does not land on the module grid rather than paint a code that might misread.
    const double unit = static_cast<double>(symbol->vector->width) / symbol->width;
    Code128Symbol result;
    result.moduleCount = symbol->width + 2 * quietModules;
    for (const zint_vector_rect *rect = symbol->vector->rectangles; rect != nullptr; rect = rect->next) {
        const double start = rect->x / unit;
        const double width = rect->width / unit;
        const Bar bar{static_cast<int>(std::lround(start)), static_cast<int>(std::lround(width))};
        if (std::abs(start - bar.start) > 0.01 || std::abs(width - bar.width) > 0.01 || bar.start < 0 ||
            bar.width <= 0 || bar.start + bar.width > symbol->width)
            return std::nullopt;
        result.bars.append({bar.start + quietModules, bar.width});
    }
    if (result.bars.isEmpty())
        return std::nullopt;
    return result;
}

Code128BarcodeView::Code128BarcodeView(const QString &value, QWidget *parent)
    : QWidget(parent)
    , m_value(value)
    , m_symbol(Code128Symbol::encode(value))
{
    setObjectName(QStringLiteral("barcode"));
}

void Code128BarcodeView::setValue(const QString &value)
{
    if (value == m_value)
        return;
    m_value = value;
    m_symbol = Code128Symbol::encode(value);
    update();
}

QSize Code128BarcodeView::sizeHint() const
{
    return {190, 46};
}

void Code128BarcodeView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_symbol) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(WrenlowTheme::color(ThemeRole::Selection, this));
        painter.drawRoundedRect(QRectF(rect()), 8, 8);
        return;
    }

    // Work in the target's own pixels: the widget may sit at a fractional device position and the screen may scale
    // by any ratio, and a bar that straddles a pixel edge blurs into its neighbours.
    const QTransform toDevice = painter.deviceTransform();
    const QRectF area = toDevice.mapRect(QRectF(rect()));
    painter.setWorldTransform(toDevice.inverted());
    const int left = static_cast<int>(std::ceil(area.left()));
    const int top = static_cast<int>(std::ceil(area.top()));
    const int width = static_cast<int>(std::floor(area.right())) - left;
    const int height = static_cast<int>(std::floor(area.bottom())) - top;
    if (width <= 0 || height <= 0)
        return;

    // The widest whole-pixel module that fits, quiet zone included. When only the bars fit at one pixel a module,
    // the quiet zone gives way rather than the pixel grid; a symbol wider even than that is shrunk to fit, which
    // cannot scan either way but keeps the frame tidy.
    const int count = m_symbol->moduleCount;
    const int wholeModule = std::max(width / count, width >= count - 2 * Code128Symbol::quietModules ? 1 : 0);
    const double module = wholeModule > 0 ? wholeModule : static_cast<double>(width) / count;
    const double x0 = left + (wholeModule > 0 ? (width - wholeModule * count) / 2 : 0);
    // White beyond the quiet zone too: a decoder takes even a faint edge next to the quiet zone for a bar.
    painter.fillRect(QRect(left, top, width, height), Qt::white);
    for (const Code128Symbol::Bar &bar : m_symbol->bars)
        painter.fillRect(QRectF(x0 + bar.start * module, top, bar.width * module, height), Qt::black);
}

} // namespace wrenlow
