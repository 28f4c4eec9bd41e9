#pragma once

#include <QCoroTask>

namespace wrenlow {

// Records the microphone into one file; made for one run. Its maker throws the platform's own error when no
// recorder can be set up for that file.
class SampleRecorder
{
public:
    virtual ~SampleRecorder() = default;

    // Starts recording; false when the recorder refuses to start.
    virtual bool record() = 0;
    // Ends the recording; completes once the file is whole.
    virtual QCoro::Task<> stop() = 0;
};

} // namespace wrenlow
