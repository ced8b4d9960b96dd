// Reads and answers the message boxes that the module shows, for the tests
// and for zelhost runs that nobody watches.
//
// While a recorder lives, a timer of the thread that made it looks for the
// dialog boxes of that thread, records each one (owner, caption, text), lets
// the test act on it, and answers it with OK. The box's own message loop runs
// the timer, so no second thread is needed: under qemu-user, a watcher thread
// polling while the module waited on the Wine server has been seen to hang or
// crash the test program. A box that the test did not expect is answered
// too, so an unexpected box fails the comparison of the recorded sequence
// instead of hanging the test. One recorder lives at a time.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace zelhost {

struct RecordedBox {
    HWND owner;
    std::string caption;
    std::string text;

    bool operator==(const RecordedBox& o) const
    {
        return owner == o.owner && caption == o.caption && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& out, const RecordedBox& box);

// The system's own text for a code, as FormatMessageA gives it (with its line
// end), for comparing system-error boxes.
std::string SystemText(DWORD code);

class MessageBoxRecorder {
public:
    // onBox runs on the test's thread, while the box is shown and before it
    // is answered.
    explicit MessageBoxRecorder(std::function<void(const RecordedBox&)> onBox = nullptr);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // The boxes seen so far, in the order they appeared.
    std::vector<RecordedBox> Boxes() const { return boxes_; }
    // The boxes seen since the last Take.
    std::vector<RecordedBox> Take();

private:
    static BOOL CALLBACK Answer(HWND window, LPARAM);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    static MessageBoxRecorder* current_;
    std::function<void(const RecordedBox&)> onBox_;
    UINT_PTR timer_;
    std::vector<RecordedBox> boxes_;
    size_t taken_ = 0;
    std::vector<HWND> answered_;
};

} // namespace zelhost
