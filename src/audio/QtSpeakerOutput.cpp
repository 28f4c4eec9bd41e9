#include "audio/QtSpeakerOutput.h"

#include "audio/SpeakerSignal.h"
#include "common/WrenlowError.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

namespace wrenlow {

namespace {

QString startErrorText(QAudio::Error error, const QAudioDevice &device)
{
    switch (error) {
    case QAudio::FatalError:
        return QStringLiteral("The audio system is not available.");
    case QAudio::OpenError:
        return QStringLiteral("The audio output \"%1\" could not be opened.").arg(device.description());
    default:
        return QStringLiteral("The audio output \"%1\" could not start.").arg(device.description());
    }
}

} // namespace

QtSpeakerOutput::QtSpeakerOutput()
{
    m_format.setSampleRate(SpeakerSignal::sampleRate);
    m_format.setChannelConfig(QAudioFormat::ChannelConfigStereo);
    m_format.setSampleFormat(QAudioFormat::Float);
}

QtSpeakerOutput::~QtSpeakerOutput() = default;

void QtSpeakerOutput::start(const QByteArray &pcm, double volume)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        throw PlatformError(QStringLiteral("No audio output device is available."));

    m_source.setData(pcm);
    m_source.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, m_format);
    m_sink->setVolume(volume);
    m_sink->start(&m_source);
    if (m_sink->error() != QAudio::NoError)
        throw PlatformError(startErrorText(m_sink->error(), device));
    // Connected only now, so that the states passed through while starting are not taken for an end.
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtSpeakerOutput::onStateChanged);
}

void QtSpeakerOutput::stop()
{
    if (m_sink)
        m_sink->stop();
}

void QtSpeakerOutput::onStateChanged(QAudio::State state)
{
    if (m_ending)
        return;
    if (state == QAudio::IdleState && m_source.atEnd()) {
        // Idle means every sample has been handed to the system; what its buffer still holds plays out first. A
        // coarse timer could end the sequence before its last notes have sounded.
        m_ending = true;
        const auto bufferedMs = m_format.durationForBytes(qint32(m_sink->bufferSize())) / 1000;
        QTimer::singleShot(std::chrono::milliseconds(bufferedMs), Qt::PreciseTimer, this, [this] { emit ended(true); });
    } else if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        m_ending = true;
        emit ended(false);
    }
}

} // namespace wrenlow
