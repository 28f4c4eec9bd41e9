#pragma once

#include "audio/SampleRecorder.h"

#include <QAudioInput>
#include <QMediaCaptureSession>
#include <QMediaFormat>
#include <QMediaRecorder>

namespace wrenlow {

// Records the default microphone as MPEG-4 AAC, 44.1 kHz mono, high quality, through Qt Multimedia.
class QtSampleRecorder : public SampleRecorder
{
public:
    // Throws PlatformError when this system cannot encode that format.
    explicit QtSampleRecorder(const QString &file);

    bool record() override;
    QCoro::Task<> stop() override;

private:
    // First, so that an unsupported format is refused before any capture piece exists.
    QMediaFormat m_format;
    QMediaCaptureSession m_session;
    QAudioInput m_input;
    QMediaRecorder m_recorder;
};

} // namespace wrenlow
