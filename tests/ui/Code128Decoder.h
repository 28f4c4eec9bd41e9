#pragma once

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <optional>

namespace wrenlow::test {

// What a screen of the given pixel ratio shows of a widget and its children (on white where they leave it).
inline QImage renderAt(QWidget &widget, qreal ratio)
{
    QImage image(widget.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

// The Code 128 symbol zbarimg reads in the image, or nothing when it reads none. zbarimg is an independent decoder,
// installed with the build's dependencies; without it the check fails rather than skips.
inline std::optional<QByteArray> decodeCode128(const QImage &image)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("code.png"));
    if (!dir.isValid() || !image.save(path))
        qFatal("cannot write the image for zbarimg");
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("-Sdisable"),
                                           QStringLiteral("-Scode128.enable"), path});
    if (!zbar.waitForFinished(30000) || zbar.exitStatus() != QProcess::NormalExit)
        qFatal("zbarimg (zbar-tools) did not run: %s", qPrintable(zbar.errorString()));
    if (zbar.exitCode() != 0)
        return std::nullopt;
    QByteArray text = zbar.readAllStandardOutput();
    if (text.endsWith('\n'))
        text.chop(1);
    return text;
}

} // namespace wrenlow::test
