#include "File4Recorder.h"

#include "Code4.h"

#include <cerrno>

namespace orv {

void File4Recorder::noteError(int err) {
    switch (err) {
    case EAGAIN:
    case EEXIST:
    case ENOENT:
    case EINTR:
        return;
    default:
        m_code.systemError = err;
    }
}

} // namespace orv
