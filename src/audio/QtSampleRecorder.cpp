#include "audio/QtSampleRecorder.h"

#include "common/WrenlowError.h"

#include <QAudioDevice>
#include <QCoroSignal>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QUrl>

namespace wrenlow {

namespace {

constexpr int sampleRate = 44100;
constexpr int channelCount = 1;
// The encoder completes the file after the stop request; a recorder that never reports it is given up on and
// the player then judges whatever was written.
constexpr std::chrono::milliseconds completionLimit{5000};

// MPEG-4 audio keeps the ".m4a" name: the recorder would append its own suffix to any other.
QMediaFormat supportedSampleFormat()
{
    QMediaFormat format(QMediaFormat::Mpeg4Audio);
    format.setAudioCodec(QMediaFormat::AudioCodec::AAC);
    // Checked before any capture piece is made: a media backend that lacks its encoders may lack its audio
    // source as well, and Qt's GStreamer backend then blocks for good while setting up the input.
    if (!format.isSupported(QMediaFormat::Encode))
        throw PlatformError(QStringLiteral("This system cannot record MPEG-4 AAC audio."));
    return format;
}

} // namespace

QtSampleRecorder::QtSampleRecorder(const QString &file)
    : m_format(supportedSampleFormat())
{
    m_input.setDevice(QMediaDevices::defaultAudioInput());
    m_session.setAudioInput(&m_input);
    m_session.setRecorder(&m_recorder);
    m_recorder.setMediaFormat(m_format);
    m_recorder.setAudioSampleRate(sampleRate);
    m_recorder.setAudioChannelCount(channelCount);
    m_recorder.setQuality(QMediaRecorder::HighQuality);
    m_recorder.setOutputLocation(QUrl::fromLocalFile(file));
}

bool QtSampleRecorder::record()
{
    // Qt's backends either enter the recording state or report an error before record() returns.
    m_recorder.record();
    return m_recorder.recorderState() == QMediaRecorder::RecordingState;
}

QCoro::Task<> QtSampleRecorder::stop()
{
    if (m_recorder.recorderState() == QMediaRecorder::StoppedState)
        co_return;
    m_recorder.stop();
    while (m_recorder.recorderState() != QMediaRecorder::StoppedState) {
        const auto changed = co_await qCoro(&m_recorder, &QMediaRecorder::recorderStateChanged, completionLimit);
        if (!changed)
            co_return;
    }
}

} // namespace wrenlow
