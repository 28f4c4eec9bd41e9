#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

namespace wrenlow {

// The modules of one Code 128 symbol, quiet zone included: what the barcode view paints.
struct Code128Symbol
{
    // A run of adjacent dark modules.
    struct Bar
    {
        int start = 0;
        int width = 0;
    };

    static constexpr int quietModules = 8;

    int moduleCount = 0;
    QList<Bar> bars;

    // The symbol for exactly the text's UTF-8 bytes, or nothing when the text is empty, is the "Not reported"
    // literal, holds a byte outside ASCII, or the encoder refuses it.
    static std::optional<Code128Symbol> encode(const QString &value);
};

// The serial number as a Code 128 barcode, or a tinted placeholder when there is nothing to encode. Every module is
// painted as a whole number of device pixels so that the code scans on any screen.
class Code128BarcodeView : public QWidget
{
    Q_OBJECT

public:
    explicit Code128BarcodeView(const QString &value = {}, QWidget *parent = nullptr);

    QString value() const { return m_value; }
    void setValue(const QString &value);
    bool showsPlaceholder() const { return !m_symbol.has_value(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_value;
    std::optional<Code128Symbol> m_symbol;
};

} // namespace wrenlow
