#pragma once

#include "audio/SpeakerOutput.h"

#include <QAudio>
#include <QAudioFormat>
#include <QBuffer>

#include <memory>

class QAudioSink;

namespace wrenlow {

// The speaker signal on the system's default audio output, through Qt Multimedia's audio sink.
class QtSpeakerOutput : public SpeakerOutput
{
public:
    QtSpeakerOutput();
    ~QtSpeakerOutput() override;

    void start(const QByteArray &pcm, double volume) override;
    void stop() override;

private:
    void onStateChanged(QAudio::State state);

    QAudioFormat m_format;
    QBuffer m_source;
    std::unique_ptr<QAudioSink> m_sink;
    bool m_ending = false;
};

} // namespace wrenlow
