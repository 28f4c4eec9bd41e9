#include "workflow/DashboardViewModel.h"

#include "workflow/StatusText.h"
#include "workflow/WorkflowServices.h"

#include <QCoroFuture>
#include <QtConcurrent>

// The hands-on tests of the Tests page and the technician's marks. A test never judges itself: a test that ran
// is left ready with an instruction, so the verdict stays incomplete until the technician marks it.

namespace wrenlow {

namespace {

constexpr double cameraCommandLimit = 8.0;

struct AudioTestTexts
{
    QString running;
    QString done;
    QString failedPrefix;
};

} // namespace

QCoro::Task<> DashboardViewModel::runDiagnosticAction(QString id)
{
    if (id == u"sound" || id == u"microphone") {
        const bool speaker = id == u"sound";
        const AudioTestTexts texts =
            speaker ? AudioTestTexts{QStringLiteral("Playing low sweep, broad sweep, left channel, and right channel…"),
                                     QStringLiteral("Speaker sequence completed. Confirm clean sound, equal channels, "
                                                    "and no rattling or distortion."),
                                     QStringLiteral("Speaker test could not complete: ")}
                    : AudioTestTexts{QStringLiteral("Recording a 3-second microphone sample. It will play back "
                                                    "automatically…"),
                                     QStringLiteral("Microphone sample recorded and played back. Confirm it was clear, "
                                                    "then mark Pass or Fail."),
                                     QStringLiteral("Microphone test could not complete: ")};
        updateDiagnostic(id, DiagnosticState::Running, texts.running, false);
        std::optional<QString> failure;
        try {
            if (speaker)
                co_await m_services->audio.playSpeakerSequence();
            else
                co_await m_services->audio.recordAndPlayMicrophoneSample();
        } catch (...) {
            failure = status::describeCurrent();
        }
        if (!failure)
            updateDiagnostic(id, DiagnosticState::Ready, texts.done);
        else
            updateDiagnostic(id, DiagnosticState::Review, texts.failedPrefix + *failure);
        co_return;
    }
    if (id != u"camera")
        co_return;

    updateDiagnostic(id, DiagnosticState::Running, QStringLiteral("Opening the macOS camera test…"), false);
    // The commands wait for the application to start; a worker thread waits for them so the window stays live.
    const WorkflowServices::CommandRun run = m_services->runCommand;
    const auto opened = [run](QString command) {
        return QtConcurrent::run([run, command] { return run(command, cameraCommandLimit).status == 0; });
    };
    if (co_await opened(QStringLiteral("open -a 'Photo Booth'"))) {
        updateDiagnostic(id, DiagnosticState::Ready,
                         QStringLiteral("Photo Booth opened. Confirm a clear live image, then mark Pass or Fail."));
    } else if (co_await opened(QStringLiteral("open -a FaceTime"))) {
        updateDiagnostic(id, DiagnosticState::Ready,
                         QStringLiteral("FaceTime opened. Confirm the camera image, then mark Pass or Fail."));
    } else {
        updateDiagnostic(id, DiagnosticState::Review,
                         QStringLiteral("A camera application could not be opened for visual confirmation."));
    }
}

void DashboardViewModel::markDiagnostic(const QString &id, DiagnosticState state)
{
    QString detail;
    switch (state) {
    case DiagnosticState::Pass:
        detail = QStringLiteral("Technician marked this test as passed.");
        break;
    case DiagnosticState::Fail:
        detail = QStringLiteral("Technician marked this test as failed.");
        break;
    case DiagnosticState::Review:
        detail = QStringLiteral("Technician marked this test for review.");
        break;
    default:
        if (const std::optional<DiagnosticItem> item = diagnostic(id))
            detail = item->detail;
        break;
    }
    updateDiagnostic(id, state, detail);
}

} // namespace wrenlow
