// Reads and answers the message boxes that the module shows.
//
// While a recorder lives, a thread of its own watches for dialog boxes of this
// process, records each one (owner, caption, text), lets the test act on it,
// and answers it with OK. A box that the test did not expect is answered too,
// so an unexpected box fails the comparison of the recorded sequence instead
// of hanging the test.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace zeltest {

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
    // onBox runs on the recorder's thread before the box is answered.
    explicit MessageBoxRecorder(std::function<void(const RecordedBox&)> onBox = nullptr);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // The boxes seen so far, in the order they appeared.
    std::vector<RecordedBox> Boxes();

private:
    static DWORD WINAPI Watch(void* self);
    void AnswerOpenBoxes();

    std::function<void(const RecordedBox&)> onBox_;
    CRITICAL_SECTION lock_;
    std::vector<RecordedBox> boxes_;
    std::vector<HWND> answered_;
    HANDLE stop_;
    HANDLE thread_;
};

// Records and answers the boxes of this thread from a timer of the same
// thread, which the box's own message loop runs. Under qemu-user, a watcher
// thread polling while an export asks for a drive type (a request that the
// device manager answers) has been seen to hang both threads for good; this
// recorder needs no second thread. One lives at a time.
class SameThreadBoxRecorder {
public:
    SameThreadBoxRecorder();
    ~SameThreadBoxRecorder();
    SameThreadBoxRecorder(const SameThreadBoxRecorder&) = delete;
    SameThreadBoxRecorder& operator=(const SameThreadBoxRecorder&) = delete;

    // The boxes seen since the last call.
    std::vector<RecordedBox> Take() { return std::move(boxes_); }

private:
    static BOOL CALLBACK Answer(HWND window, LPARAM);
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    static SameThreadBoxRecorder* current_;
    UINT_PTR timer_;
    std::vector<RecordedBox> boxes_;
    std::vector<HWND> answered_;
};

} // namespace zeltest
