// The tests read and answer boxes with the host's recorder.
#pragma once

#include "host/message_box_recorder.h"

namespace zeltest {

using zelhost::MessageBoxRecorder;
using zelhost::RecordedBox;
using zelhost::SystemText;

} // namespace zeltest
